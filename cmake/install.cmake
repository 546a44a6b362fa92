# Installed like a desktop program: the executable, its menu entry and its icon,
# and a Debian package of them.
include(GNUInstallDirs)

install(TARGETS lanxun RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/lanxun.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/lanxun.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

set(CPACK_PACKAGE_NAME lanxun)
set(CPACK_PACKAGE_VENDOR "岚讯")
set(CPACK_PACKAGE_CONTACT "岚讯 <support@lanxun.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "岚讯接码平台 desktop client (SMS verification codes)")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
# The libraries come from dpkg-shlibdeps; the windows are drawn in Noto Sans CJK.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-noto-cjk")
include(CPack)
