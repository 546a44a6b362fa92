# Installed like a desktop program: the executable, its menu entry, its icon, its
# software-centre entry and manual page, and a Debian package of them.
include(GNUInstallDirs)

# The manual page and the changelog go in compressed, without a name or time in
# the gzip header, so that two builds give the same package. The executable
# depends on them so that building it alone leaves everything to install.
set(LANXUN_PACKAGING ${PROJECT_SOURCE_DIR}/packaging)
set(LANXUN_METAINFO invalid.lanxun.client.metainfo.xml)
set(lanxun_gzipped)
foreach(doc lanxun.1 changelog)
    set(out ${CMAKE_CURRENT_BINARY_DIR}/packaging/${doc}.gz)
    add_custom_command(OUTPUT ${out}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/packaging
        COMMAND gzip -9n -c ${LANXUN_PACKAGING}/${doc} > ${out}
        DEPENDS ${LANXUN_PACKAGING}/${doc}
        VERBATIM)
    list(APPEND lanxun_gzipped ${out})
endforeach()
add_custom_target(lanxun_docs DEPENDS ${lanxun_gzipped})
add_dependencies(lanxun lanxun_docs)

install(TARGETS lanxun RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/lanxun.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/lanxun.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${LANXUN_PACKAGING}/${LANXUN_METAINFO} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/packaging/lanxun.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${LANXUN_PACKAGING}/copyright ${CMAKE_CURRENT_BINARY_DIR}/packaging/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/lanxun)

set(CPACK_PACKAGE_NAME lanxun)
set(CPACK_PACKAGE_VENDOR "岚讯")
set(CPACK_PACKAGE_CONTACT "岚讯 <support@lanxun.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "岚讯接码平台 desktop client (SMS verification codes)")
set(CPACK_PACKAGE_DESCRIPTION_FILE ${LANXUN_PACKAGING}/description.txt)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
# The libraries come from dpkg-shlibdeps; the windows are drawn in Noto Sans CJK.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-noto-cjk")
include(CPack)
