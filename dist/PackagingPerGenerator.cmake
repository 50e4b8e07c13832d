# Read by cpack for each generator: the Debian package is staged through DESTDIR with prefix /usr.
if(CPACK_GENERATOR STREQUAL "DEB")
    set(CPACK_SET_DESTDIR ON)
    set(CPACK_INSTALL_PREFIX /usr)
    set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
endif()
