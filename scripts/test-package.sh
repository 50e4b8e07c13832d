#!/usr/bin/env bash
# Tests the Debian package as a user meets it: builds it (scripts/package.sh), checks it with
# lintian, installs it with apt-get, runs the installed programs from other folders (the demo under
# Xvfb), checks the menu, metainfo, screensaver and manual files, then purges it and checks that
# nothing of it is left.
# Needs root or sudo; the package is never left installed.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
ensure_packages "${VELMORIN_BUILD_PACKAGES[@]}" "${VELMORIN_PACKAGE_PACKAGES[@]}" \
    "${VELMORIN_TEST_PACKAGES[@]}"

build=$PWD/build-package # absolute: the package's path must come back whole either way
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
# Other programs may hold dpkg's lock for a while; wait for it rather than fail.
apt_get() {
    DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=600 -y -qq "$@"
}

work=$(mktemp -d /tmp/velmorin-package.XXXXXX)
installed=false
fail() {
    echo "test-package: FAILED: $*" >&2
    exit 1
}
cleanup() {
    if $installed; then
        apt_get purge velmorin >/dev/null 2>&1 || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

if dpkg-query -W -f='${Status}' velmorin 2>/dev/null | grep -q "ok installed"; then
    fail "velmorin is installed on this machine already; remove it before testing the package"
fi

echo "== building the package ($build/)"
package=$(scripts/package.sh "$build" | tail -n 1)
[ -f "$package" ] || fail "no package made"
echo "$(basename "$package"): $(du -k "$package" | cut -f 1) KiB"
[ "$(basename "$package")" = "velmorin_$(sed -n '1s/^velmorin (\([^)]*\)).*/\1/p' dist/changelog)_amd64.deb" ] ||
    fail "package named $(basename "$package")"

echo "== what the package declares"
field() { dpkg-deb -f "$package" "$1"; }
[ "$(field Section)" = games ] || fail "section $(field Section)"
[ -n "$(field Maintainer)" ] || fail "no maintainer"
# dpkg-shlibdeps found the libraries the programs link, with versions.
depends=$(field Depends)
for library in libc6 libsdl2-2.0-0 libstdc++6; do
    grep -qF ", $library (>= " <<<", $depends" || fail "Depends lacks $library: $depends"
done
echo "Depends: $depends"

echo "== lintian"
lintian --pedantic -I -E "$package" 2>/dev/null | tee "$work/lintian.txt" || true
if grep -q '^E: ' "$work/lintian.txt"; then
    fail "lintian reports errors"
fi
echo "lintian: no errors, $(grep -c '^W: ' "$work/lintian.txt" || true) warnings"

echo "== apt-get install ./$(basename "$package")"
cp "$package" "$work/"
installed=true
apt_get install "$work/$(basename "$package")" >/dev/null
dpkg -L velmorin | sort >"$work/files.txt"
# The programs are where Debian's games live, on every user's PATH.
user_path=/usr/local/bin:/usr/bin:/bin:/usr/local/games:/usr/games
for program in velmorin velmorin-trace velmorin-bmp velmorin-capture; do
    [ "$(PATH=$user_path command -v "$program")" = "/usr/games/$program" ] ||
        fail "$program is not found on a user's PATH"
done

echo "== velmorin --version"
version=$(cd / && env -u DISPLAY -u WAYLAND_DISPLAY PATH=$user_path \
    timeout 20 velmorin --version) || fail "velmorin --version failed"
[ "$version" = "velmorin 1.0.0" ] || fail "velmorin --version printed '$version'"
saver_version=$(timeout 20 /usr/libexec/xscreensaver/velmorin --version) ||
    fail "the screensaver link does not start the program"
[ "$saver_version" = "$version" ] || fail "the screensaver link printed '$saver_version'"

echo "== a headless run of the installed capture tool from another folder"
# The installed tool must find the installed pictures: its frame is the frame the same build
# draws from its own build folder, where bitmap/ is.
empty=$work/empty
mkdir -p "$empty"
(cd "$empty" && PATH=$user_path timeout 120 velmorin-capture --seed 7 --frames 20 --dt 0.015 \
    --out "$work/installed.png") 2>"$work/capture.err" ||
    fail "the installed velmorin-capture failed: $(cat "$work/capture.err")"
[ ! -s "$work/capture.err" ] || fail "velmorin-capture complained: $(cat "$work/capture.err")"
(cd "$build" && timeout 120 ./tools/velmorin-capture --seed 7 --frames 20 --dt 0.015 \
    --out "$work/build.png") || fail "velmorin-capture from $build/ failed"
cmp -s "$work/installed.png" "$work/build.png" ||
    fail "the installed tool drew another frame than the build's: its pictures were not found"
echo "frame identical to the build's ($(stat -c %s "$work/installed.png") bytes)"

echo "== the installed demo from / and from an empty folder, under Xvfb"
python3 tests/dist/e2e_installed.py installed --demo /usr/games/velmorin --pictures "$build/bitmap" ||
    fail "the installed demo did not draw its scene from another folder"

echo "== menu entry and its metainfo, screensaver files, manual"
for entry in /usr/share/applications/velmorin.desktop \
    /usr/share/applications/screensavers/velmorin.desktop; do
    desktop-file-validate "$entry" || fail "$entry is not a valid desktop entry"
done
grep -qx 'Exec=/usr/libexec/xscreensaver/velmorin --root' \
    /usr/share/applications/screensavers/velmorin.desktop ||
    fail "the screensaver entry does not start the installed program with --root"
metainfo=/usr/share/metainfo/io.github.velmorin.Velmorin.metainfo.xml
appstreamcli validate --no-net "$metainfo" || fail "$metainfo is not valid metainfo"
grep -qxF "  <url type=\"homepage\">$(field Homepage)</url>" "$metainfo" ||
    fail "the package's homepage '$(field Homepage)' is not the metainfo's"
xmllint --noout /usr/share/xscreensaver/config/velmorin.xml || fail "velmorin.xml is not XML"
grep -q '<command arg="--root"/>' /usr/share/xscreensaver/config/velmorin.xml ||
    fail "velmorin.xml lacks --root"
[ "$(file -b /usr/share/icons/hicolor/256x256/apps/velmorin.png | cut -d , -f 2)" = " 256 x 256" ] ||
    fail "the icon is not 256x256"
# The manual pages are read from the package itself: some systems keep dpkg from installing any.
contents=$work/contents
dpkg-deb -x "$package" "$contents"
for page in velmorin velmorin-trace velmorin-capture velmorin-bmp; do
    page_file=$contents/usr/share/man/man6/$page.6.gz
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page_file" 2>&1 >/dev/null) ||
        fail "man -l $page.6.gz failed"
    [ -z "$warnings" ] || fail "$page.6.gz: $warnings"
done
LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$contents/usr/share/man/man6/velmorin.6.gz" |
    grep -q -- '--window-id' || fail "the manual page lacks --window-id"

echo "== apt-get purge velmorin"
apt_get purge velmorin >/dev/null
installed=false
! dpkg-query -W -f='${Status}' velmorin 2>/dev/null | grep -q "ok installed" ||
    fail "velmorin is still installed"
left=0
while IFS= read -r path; do
    # Folders other packages share (/usr/share/man/man6 ...) stay; files and links must go.
    if [ -e "$path" ] || [ -L "$path" ]; then
        if [ ! -d "$path" ] || [[ $path == */velmorin* ]]; then
            echo "left behind: $path" >&2
            left=$((left + 1))
        fi
    fi
done <"$work/files.txt"
[ $left -eq 0 ] || fail "$left paths of the package are left"
[ ! -e /usr/share/velmorin ] || fail "/usr/share/velmorin is left"
echo "nothing of the package is left ($(wc -l <"$work/files.txt") paths checked)"

echo "== the Debian package passed"
