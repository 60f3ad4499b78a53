# The Debian package of the command-line front end: cindral-cli, its manual
# page (made from the program's own option tables by tools/cli_man_page.cpp)
# and the licence as the package's copyright file. `cpack` in the build
# folder (or the target cindral_deb) writes it into <build>/dist.

add_executable(cindral_man_page tools/cli_man_page.cpp)
target_link_libraries(cindral_man_page PRIVATE cindral_cli)
set(CINDRAL_MAN_DIR ${CMAKE_BINARY_DIR}/man)
add_custom_command(OUTPUT ${CINDRAL_MAN_DIR}/cindral-cli.1 ${CINDRAL_MAN_DIR}/cindral-cli.1.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CINDRAL_MAN_DIR}
    COMMAND cindral_man_page ${CINDRAL_MAN_DIR}/cindral-cli.1
    # Debian wants manual pages compressed, without a time stamp.
    COMMAND gzip -9n -f -k ${CINDRAL_MAN_DIR}/cindral-cli.1
    DEPENDS cindral_man_page
    COMMENT "Writing the manual page of cindral-cli"
    VERBATIM)
add_custom_target(cindral_man ALL DEPENDS ${CINDRAL_MAN_DIR}/cindral-cli.1.gz)

include(GNUInstallDirs)
install(TARGETS cindral-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CINDRAL_MAN_DIR}/cindral-cli.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES packaging/license.txt DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/cindral-cli
    RENAME copyright)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME cindral-cli)
set(CPACK_PACKAGE_VENDOR "Quorvane Software")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "privacy cleaner (command line)")
set(CPACK_PACKAGE_DESCRIPTION
    "Cindral erases the traces that programs leave behind: caches, history and\n\
temporary files, most-recently-used lists. A Test Mode run reports what a\n\
cleaning run would erase, and erases nothing.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/dist)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Quorvane Software <support@quorvane.example>")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.quorvane.example/cindral/")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The library dependencies are read from the binary (dpkg-shlibdeps).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)

add_custom_target(cindral_deb
    COMMAND ${CMAKE_CPACK_COMMAND} --config ${CMAKE_BINARY_DIR}/CPackConfig.cmake
    DEPENDS cindral-cli cindral_man
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
    COMMENT "Building the Debian package of cindral-cli"
    VERBATIM)
