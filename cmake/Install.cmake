# cmake --install build --prefix P: the program and the emulator, the desktop entry, the
# icons, the AppStream metadata, the man pages and the documentation.

include(GNUInstallDirs)

set(Q5_DOC_DIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/tarvik-q5)
set(Q5_ICON_DIR ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor)

install(TARGETS tarvik-q5 RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The emulator is built only where the system has pseudo-terminals.
if(TARGET q5-emulator)
    install(TARGETS q5-emulator RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

install(FILES ${Q5_DATA_SOURCE}/${Q5_APP_ID}.desktop
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
install(FILES ${Q5_DATA_BUILD}/${Q5_APP_ID}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo)

install(FILES ${Q5_ICON_SVG} DESTINATION ${Q5_ICON_DIR}/scalable/apps)
foreach(size IN LISTS Q5_ICON_SIZES)
    install(FILES ${Q5_DATA_BUILD}/icons/${size}x${size}/${Q5_APP_ID}.png
        DESTINATION ${Q5_ICON_DIR}/${size}x${size}/apps)
endforeach()

install(FILES ${Q5_DATA_BUILD}/tarvik-q5.1.gz ${Q5_DATA_BUILD}/q5-emulator.1.gz
    DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

install(FILES ${CMAKE_SOURCE_DIR}/README.md ${Q5_DATA_SOURCE}/copyright
    ${Q5_DATA_BUILD}/changelog.gz
    DESTINATION ${Q5_DOC_DIR})
