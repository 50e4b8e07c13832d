# CPack settings: the Debian package (cpack -G DEB) and the Windows zip (cpack -G ZIP).
set(CPACK_PACKAGE_NAME velmorin)
set(CPACK_PACKAGE_VENDOR "The Velmorin developers")
set(CPACK_PACKAGE_CONTACT "The Velmorin developers <velmorin@example.org>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "self-running OpenGL demo of bouncing, spraying spheres")
# The homepage the metainfo names too (dist/io.github.velmorin.Velmorin.metainfo.xml).
set(CPACK_PACKAGE_HOMEPAGE_URL https://github.com/velmorin/velmorin)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_RESOURCE_FILE_README ${PROJECT_SOURCE_DIR}/README.md)
set(CPACK_STRIP_FILES ON)
# Packages land in the build folder, never beside the sources.
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR})

if(WIN32)
    set(CPACK_GENERATOR ZIP)
    set(CPACK_PACKAGE_FILE_NAME velmorin-${PROJECT_VERSION}-win64)
    include(CPack)
    return()
endif()

# The Debian changelog names the version too; a package whose two versions differ is refused.
file(STRINGS ${CMAKE_CURRENT_SOURCE_DIR}/changelog velmorin_changelog_head LIMIT_COUNT 1)
if(NOT velmorin_changelog_head MATCHES "^velmorin \\(${PROJECT_VERSION}\\) ")
    message(FATAL_ERROR "dist/changelog starts with '${velmorin_changelog_head}', "
                        "not with version ${PROJECT_VERSION}")
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the programs link come from dpkg-shlibdeps: SDL2 and Xlib, and for the Wayland
# backend libwayland-client0, libwayland-egl1 and libegl1 when the build has it.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# SDL opens the GL libraries at run time, so dpkg-shlibdeps cannot see them: GLX for a window,
# EGL for the offscreen capture.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libgl1, libegl1")
# As an XScreenSaver hack it needs the daemon's GL visual helper to get a window it can draw in.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "xscreensaver, xscreensaver-gl, xsecurelock")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The summary above is the first line; this is the long description under it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Five textured spheres float in front of a background picture, pull on one
another with an attraction of constant strength, bounce off one another
elastically, and each throws up a spray of coloured points that arcs back
down. Nobody steers: you watch, and Escape ends it.

It runs full screen at 800x600, in a window, across the desktop, or as a
screensaver for XScreenSaver, xsecurelock and MATE. With --wallpaper it is a
live desktop background and with --saver a screensaver for idle daemons, on
Wayland compositors with layer surfaces (sway, Hyprland and others) and on
X11. The package also holds velmorin-trace, which prints the simulation frame
by frame, velmorin-capture, which renders frames offscreen into PNG files, and
velmorin-bmp, which checks pictures with the demo's reader.")
# The package installs into /usr, and the install step must see that prefix (the screensaver
# entry names the program's full path), so files are staged through DESTDIR.
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_SOURCE_DIR}/PackagingPerGenerator.cmake)
include(CPack)
