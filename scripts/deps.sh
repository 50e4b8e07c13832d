# Shared by the run and test scripts: installs missing Debian packages with apt-get.
# Usage: source scripts/deps.sh; ensure_packages pkg...

ensure_packages() {
    local missing=()
    local pkg
    for pkg in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$pkg")
        fi
    done
    if [ ${#missing[@]} -eq 0 ]; then
        return 0
    fi
    echo "Installing missing packages: ${missing[*]}" >&2
    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        sudo="sudo"
    fi
    $sudo apt-get update -qq >&2
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2
}

# What building and testing need, on top of a fresh Debian 12.
VELMORIN_BUILD_PACKAGES=(cmake ninja-build g++ pkg-config libgtest-dev libgmock-dev googletest
    libbenchmark-dev libsdl2-dev libgl1-mesa-dev libglu1-mesa-dev libegl-dev libgl1-mesa-dri
    libstb-dev libwayland-dev libwayland-bin wayland-protocols)
# libwayland-dev, libwayland-bin (wayland-scanner) and wayland-protocols (xdg-shell, viewporter):
# the native Wayland backend behind --wallpaper and --saver; a build without them has only the
# X11 forms.
VELMORIN_TEST_PACKAGES=(clang libclang-rt-14-dev xvfb xauth xdotool x11-utils x11-apps
    x11-xserver-utils xserver-xorg-core xserver-xorg-video-dummy strace imagemagick valgrind python3
    xscreensaver xscreensaver-gl xsecurelock xfonts-base desktop-file-utils libxml2-utils file
    groff-base sway grim wtype appstream)
# xfonts-base: the error boxes draw with core X fonts. sway (headless), grim and wtype (a key
# typed into the Wayland saver): the Wayland tests. appstream: appstreamcli checks the metainfo.
# xscreensaver-gl brings the helper that gives a GL hack's window a GL visual; without it the
# daemon makes a 32-bit window that Mesa's software driver cannot present into.
# The Windows cross build and its tests under Wine: MinGW-w64 (posix threads), Wine, an X server
# with Mesa's GL for Wine to draw through, the tools that look at the screen from outside, and
# makensis for the installer.
VELMORIN_WINDOWS_PACKAGES=(g++-mingw-w64-x86-64-posix googletest wine wine64 xvfb xdotool
    x11-apps x11-utils imagemagick libgl1 libglx-mesa0 libgl1-mesa-dri nsis)
# Making the Debian package (dpkg-shlibdeps, file) and checking it and its menu, screensaver and
# manual files and its metainfo (lintian, desktop-file-validate, xmllint, man, appstreamcli).
VELMORIN_PACKAGE_PACKAGES=(dpkg-dev file lintian desktop-file-utils libxml2-utils man-db gzip
    appstream)
# The browser build and its tests: Emscripten (with node), and a headless browser to load the page.
VELMORIN_WEB_PACKAGES=(emscripten nodejs cmake ninja-build)
VELMORIN_WEB_TEST_PACKAGES=(chromium imagemagick)
