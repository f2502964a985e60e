# The Debian package: cpack -G DEB in the build directory (scripts/package) gives
# tarvik-q5_<version>_amd64.deb with the files of Install.cmake under /usr. The libraries it
# needs come from dpkg-shlibdeps; Qt's platform plugins and the fonts the window is laid out
# in are not linked, so they are named here.

# The package builds what it installs itself (scripts/package); "install" and cpack do not
# build the whole tree, tests and benchmarks included, first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarvik-q5)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Tarvik-Q5 developers")
set(CPACK_PACKAGE_CONTACT "Tarvik-Q5 developers <support@example.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "service and tuning tool for the Tarvik-Q5 gas injection controller")
set(CPACK_PACKAGE_DESCRIPTION
    "A service technician connects the PC through a serial port to the Tarvik-Q5\n"
    "controller, which runs a car engine on liquefied gas beside its petrol\n"
    "injection. The tool finds the controller on COM1 to COM4, shows every\n"
    "parameter on tabbed pages, writes each change at once, shows live engine\n"
    "values, and saves and loads the whole parameter block as a settings file.\n"
    "\n"
    "The package also holds q5-emulator, a controller on a pseudo-terminal for\n"
    "training and testing.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.example.com/tarvik-q5")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# addgroup, for the group of those who may number controllers (postinst).
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n, libqt6sql6-sqlite, adduser")
# A line that shares its store on a PostgreSQL server loads its driver.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation2, libqt6sql6-psql")

# The maintainer scripts make and keep the folder every user of the machine shares for the
# production log (Q5_SHARED_DIR, group Q5_SHARED_GROUP, set-group-ID).
foreach(script postinst postrm)
    configure_file(${Q5_DATA_SOURCE}/debian/${script}.in ${Q5_DATA_BUILD}/debian/${script} @ONLY
        FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
        WORLD_READ WORLD_EXECUTE)
    list(APPEND CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${Q5_DATA_BUILD}/debian/${script})
endforeach()
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
