#!/usr/bin/env bash
# `cmake --install` into a fresh prefix: exactly the expected files, a screensaver link and entry
# that work from that prefix, the build's pictures, manual pages that render cleanly and cover
# every option the program knows, a valid menu entry and its icon, and the entry's metainfo for
# software centres, of this version.
# Usage: install_tree_test.sh BUILD_DIR VERSION
set -u
build=$1
version=$2
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

prefix=$(mktemp -d /tmp/velmorin-install.XXXXXX)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >"$prefix.log" 2>&1 || {
    cat "$prefix.log"
    rm -f "$prefix.log"
    echo "FAIL: cmake --install"
    exit 1
}
rm -f "$prefix.log"

expected=$(sort <<'EOF'
bin/velmorin
bin/velmorin-bmp
bin/velmorin-capture
bin/velmorin-trace
libexec/xscreensaver/velmorin
share/applications/screensavers/velmorin.desktop
share/applications/velmorin.desktop
share/doc/velmorin/LICENSE
share/doc/velmorin/README.md
share/doc/velmorin/changelog.gz
share/doc/velmorin/copyright
share/icons/hicolor/256x256/apps/velmorin.png
share/man/man6/velmorin-bmp.6.gz
share/man/man6/velmorin-capture.6.gz
share/man/man6/velmorin-trace.6.gz
share/man/man6/velmorin.6.gz
share/metainfo/io.github.velmorin.Velmorin.metainfo.xml
share/velmorin/bitmap/background.bmp
share/velmorin/bitmap/cloud1.bmp
share/velmorin/bitmap/cloud2.bmp
share/velmorin/bitmap/metal1.bmp
share/velmorin/bitmap/metal2.bmp
share/velmorin/bitmap/rock1.bmp
share/velmorin/bitmap/rock3.bmp
share/velmorin/bitmap/rock4.bmp
share/velmorin/bitmap/rock5.bmp
share/velmorin/bitmap/rock6.bmp
share/velmorin/bitmap/water1.bmp
share/velmorin/bitmap/water2.bmp
share/velmorin/bitmap/water3.bmp
share/xscreensaver/config/velmorin.xml
EOF
)
actual=$(cd "$prefix" && find . \( -type f -o -type l \) -printf '%P\n' | sort)
[ "$actual" = "$expected" ] || fail "installed files differ:
$(diff <(echo "$expected") <(echo "$actual"))"

# The programs run from the prefix, also through the screensaver hosts' path.
[ "$("$prefix/bin/velmorin" --version)" = "velmorin $version" ] || fail "velmorin --version"
saver=$prefix/libexec/xscreensaver/velmorin
link=$(readlink "$saver")
[[ -n $link && $link != /* ]] || fail "the screensaver program is not a relative link: '$link'"
[ "$(readlink -f "$saver")" = "$(readlink -f "$prefix/bin/velmorin")" ] ||
    fail "the screensaver link leads to $(readlink -f "$saver")"
[ "$("$saver" --version 2>&1)" = "velmorin $version" ] || fail "the screensaver link does not run"
entry=$prefix/share/applications/screensavers/velmorin.desktop
grep -qx "Exec=$saver --root" "$entry" || fail "screensaver entry: $(grep '^Exec=' "$entry")"
grep -qx "TryExec=$saver" "$entry" || fail "screensaver entry: $(grep '^TryExec=' "$entry")"
for desktop in "$entry" "$prefix/share/applications/velmorin.desktop"; do
    desktop-file-validate --no-hints "$desktop" || fail "$desktop is not a valid entry"
done
metainfo=$prefix/share/metainfo/io.github.velmorin.Velmorin.metainfo.xml
appstreamcli validate --no-net "$metainfo" >/dev/null ||
    fail "$(appstreamcli validate --no-net "$metainfo")"
launchable=$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>:\1:p' "$metainfo")
[ -f "$prefix/share/applications/$launchable" ] || fail "the metainfo starts '$launchable'"
# Its newest release is this version, of the day the changelog gives it.
signed=$(zcat "$prefix/share/doc/velmorin/changelog.gz" | sed -n '1,/^ -- /s/^ -- .*>  //p')
newest=$(grep -m 1 '<release ' "$metainfo")
[ "$newest" = "    <release version=\"$version\" date=\"$(date -u +%F -d "$signed")\">" ] ||
    fail "the metainfo's newest release is not $version of $signed: $newest"
xml=$prefix/share/xscreensaver/config/velmorin.xml
xmllint --noout "$xml" || fail "velmorin.xml is not well-formed"
grep -q '<screensaver name="velmorin" _label="Velmorin">' "$xml" || fail "velmorin.xml: no name"
grep -q '<command arg="--root"/>' "$xml" || fail "velmorin.xml: no --root"
# Every command line the settings dialog can build from the file is one the program accepts:
# each number at its ends, default and middle, written as the dialog writes it (whole numbers
# for whole ranges, else up to three decimals in the user's locale, so also with a comma), and
# each switch and choice. And each slider spans the program's range: just past its ends is refused.
xml_arguments=$(python3 - "$xml" <<'PY'
import sys
import xml.etree.ElementTree as tree
for node in tree.parse(sys.argv[1]).getroot().iter():
    if node.tag == "number":
        ends = [node.get(k) for k in ("low", "high", "default")]
        numbers = [float(e) for e in ends]
        numbers.append((numbers[0] + numbers[1]) / 2)
        for number in numbers:
            if any("." in e for e in ends):
                text = ("%.3f" % number).rstrip("0").rstrip(".")
                texts = [text, text.replace(".", ",")]
            else:
                texts = ["%d" % round(number)]
            for text in texts:
                print("accepts", node.get("arg").replace("%", text))
        step = 0.01 if any("." in e for e in ends) else 1
        for past in (numbers[0] - step, numbers[1] + step) if node.get("type") == "slider" else ():
            print("refuses", node.get("arg").replace("%", "%g" % past))
    for arg in (node.get("arg-set"), node.get("arg-unset")):
        if arg:
            print("accepts", arg)
PY
)
[ "$(grep -c '^accepts' <<<"$xml_arguments")" -ge 22 ] || fail "velmorin.xml: only '$xml_arguments'"
[ "$(grep -c '^refuses' <<<"$xml_arguments")" -ge 6 ] || fail "velmorin.xml: too few sliders"
while read -r expected line; do
    read -r -a arguments <<<"$line"
    "$prefix/bin/velmorin" "${arguments[@]}" --version >/dev/null 2>&1 && verdict=accepts || verdict=refuses
    [ "$verdict" = "$expected" ] || fail "velmorin.xml gives '${arguments[*]}', which velmorin $verdict"
done <<<"$xml_arguments"

for picture in "$build"/bitmap/*.bmp; do
    cmp -s "$picture" "$prefix/share/velmorin/bitmap/$(basename "$picture")" ||
        fail "installed $(basename "$picture") is not the build's"
done

[[ $(file -b "$prefix/share/icons/hicolor/256x256/apps/velmorin.png") == "PNG image data, 256 x 256, 8-bit/color RGBA"* ]] ||
    fail "icon: $(file -b "$prefix/share/icons/hicolor/256x256/apps/velmorin.png")"

for page in "$prefix"/share/man/man6/*.6.gz "$prefix/share/doc/velmorin/changelog.gz"; do
    gzip -t "$page" || fail "$page is not gzip"
done
for page in "$prefix"/share/man/man6/*.6.gz; do
    warnings=$(zcat "$page" | groff -man -ww -z 2>&1)
    [ -z "$warnings" ] || fail "$(basename "$page"): $warnings"
done
manual=$(zcat "$prefix/share/man/man6/velmorin.6.gz" | LC_ALL=C.UTF-8 groff -man -Tutf8 -P-cbou 2>/dev/null)
# Every option the program's help lists has its entry in the manual, and every exit status.
options=$("$prefix/bin/velmorin" --help | grep -o -- '--[a-z][a-z-]*' | sort -u)
[ -n "$options" ] || fail "velmorin --help lists no options"
for option in $options; do
    grep -Eq -- "^ *$option([ =[]|$)" <<<"$manual" || fail "the manual has no entry for $option"
done
exit_statuses=$(sed -n '/^EXIT STATUS/,/^[A-Z]/p' <<<"$manual" | grep -Eo '^ {7}[0-9]+( |$)' | tr -d ' ' | tr '\n' ' ')
[ "$exit_statuses" = "0 1 2 " ] || fail "the manual's exit statuses: '$exit_statuses'"

if [ $failures -ne 0 ]; then
    echo "$failures failure(s)"
    exit 1
fi
echo "install tree ok: $(wc -l <<<"$actual") files under $prefix"
