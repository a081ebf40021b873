# Installation: the program, its XScreenSaver display mode and settings
# entry, the autostart entry of the idle mode (off until a user turns it
# on), the icon and the manual; `make package` turns it into a Debian
# package.
include(GNUInstallDirs)

find_program(CONVERT_PROGRAM convert)
set(DOVEZI_ICON_FOLDER ${CMAKE_BINARY_DIR}/icons)
if(CONVERT_PROGRAM)
    foreach(entry 0 1)
        set(icon ${DOVEZI_ICON_FOLDER}/dovezi-${entry}.png)
        add_custom_command(OUTPUT ${icon}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${DOVEZI_ICON_FOLDER}
            COMMAND ${CONVERT_PROGRAM} ${CMAKE_SOURCE_DIR}/res/Dovezi.ico[${entry}] ${icon}
            DEPENDS ${CMAKE_SOURCE_DIR}/res/Dovezi.ico)
        list(APPEND DOVEZI_ICONS ${icon})
    endforeach()
    add_custom_target(dovezi_icons ALL DEPENDS ${DOVEZI_ICONS})
    install(FILES ${DOVEZI_ICON_FOLDER}/dovezi-0.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps
        RENAME dovezi.png)
    install(FILES ${DOVEZI_ICON_FOLDER}/dovezi-1.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/16x16/apps
        RENAME dovezi.png)
endif()

install(TARGETS Dovezi RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS dovezi_sheet_module LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}/dovezi)
install(PROGRAMS $<TARGET_FILE:Dovezi> DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/xscreensaver)
install(FILES hacks/config/dovezi.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/xscreensaver/config)
install(FILES packaging/dovezi-settings.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
# Desktops read autostart entries from /etc/xdg/autostart: there for the
# package's prefix of /usr, else under the prefix.
install(CODE "if(CMAKE_INSTALL_PREFIX STREQUAL \"/usr\")
    set(DOVEZI_SYSCONFDIR ../etc)
else()
    set(DOVEZI_SYSCONFDIR etc)
endif()")
install(FILES packaging/dovezi-idle.desktop DESTINATION \${DOVEZI_SYSCONFDIR}/xdg/autostart)
install(FILES docs/Dovezi.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME dovezi)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Velmar Dovezi Screen Saver: units parading across your desktop")
set(CPACK_PACKAGE_CONTACT "Dovezi developers <dovezi@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "timgm6mb-soundfont | fluid-soundfont-gm")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "xscreensaver")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_SOURCE_DIR}/packaging/conffiles)
include(CPack)
