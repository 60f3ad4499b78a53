# The Windows artifacts of a Windows build, written into <build>/dist:
#   cindral_zip        cindral-VERSION-portable.zip: a folder "Cindral" with
#                      the two executables, help.chm, license.txt and
#                      "Plug-Ins" holding the plug-in library
#                      (packaging/plugins); it runs from wherever it is
#                      unpacked.
#   cindral_installer  cindral-VERSION-setup.exe (makensis, Debian's nsis),
#                      from packaging/windows/cindral.nsi.
# Both take the same stripped executables from <build>/stage/Cindral.

set(CINDRAL_STAGE ${CMAKE_BINARY_DIR}/stage/Cindral)
set(CINDRAL_DIST ${CMAKE_BINARY_DIR}/dist)
set(CINDRAL_ZIP ${CINDRAL_DIST}/cindral-${PROJECT_VERSION}-portable.zip)
set(CINDRAL_SETUP ${CINDRAL_DIST}/cindral-${PROJECT_VERSION}-setup.exe)

# The plug-in library. The installer installs and removes these files by
# name (macros InstallShippedPlugins and DeleteShippedPlugins), so plug-ins
# the user added are only removed with the user's data.
file(GLOB CINDRAL_SHIPPED_PLUGINS CONFIGURE_DEPENDS
    ${CMAKE_CURRENT_SOURCE_DIR}/packaging/plugins/*.cnp)
set(CINDRAL_PLUGINS_NSH ${CINDRAL_GENERATED}/shipped-plugins.nsh)
set(install_plugins "!macro InstallShippedPlugins\n")
set(delete_plugins "!macro DeleteShippedPlugins\n")
foreach(plugin IN LISTS CINDRAL_SHIPPED_PLUGINS)
    get_filename_component(name "${plugin}" NAME)
    string(APPEND install_plugins "    File \"\${STAGE}\\Plug-Ins\\${name}\"\n")
    string(APPEND delete_plugins "    Delete \"\$INSTDIR\\Plug-Ins\\${name}\"\n")
endforeach()
file(CONFIGURE OUTPUT ${CINDRAL_PLUGINS_NSH}
    CONTENT "${install_plugins}!macroend\n${delete_plugins}!macroend\n" @ONLY)

add_custom_command(OUTPUT ${CINDRAL_STAGE}/cindral.exe
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${CINDRAL_STAGE}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CINDRAL_STAGE}/Plug-Ins
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:cindral-cli> ${CINDRAL_DOCS} ${CINDRAL_STAGE}
    COMMAND ${CMAKE_COMMAND} -E copy ${CINDRAL_SHIPPED_PLUGINS} ${CINDRAL_STAGE}/Plug-Ins
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:peditor> ${CINDRAL_STAGE}/peditor.exe
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:cindral_program> ${CINDRAL_STAGE}/cindral.exe
    COMMAND ${CMAKE_STRIP} ${CINDRAL_STAGE}/cindral.exe ${CINDRAL_STAGE}/cindral-cli.exe
        ${CINDRAL_STAGE}/peditor.exe
    DEPENDS cindral_program cindral-cli peditor cindral_docs ${CINDRAL_DOCS}
        ${CINDRAL_SHIPPED_PLUGINS}
    COMMENT "Staging the files of the Windows artifacts"
    VERBATIM)

# Fixed time stamps: the same sources give the same zip.
add_custom_command(OUTPUT ${CINDRAL_ZIP}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CINDRAL_DIST}
    COMMAND ${CMAKE_COMMAND} -E rm -f ${CINDRAL_ZIP}
    COMMAND ${CMAKE_COMMAND} -E tar cf ${CINDRAL_ZIP} --format=zip "--mtime=2024-01-01 00:00:00 UTC"
        Cindral
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/stage
    DEPENDS ${CINDRAL_STAGE}/cindral.exe
    COMMENT "Packing ${CINDRAL_ZIP}"
    VERBATIM)
add_custom_target(cindral_zip DEPENDS ${CINDRAL_ZIP})

find_program(CINDRAL_MAKENSIS makensis)
if(CINDRAL_MAKENSIS)
    set(CINDRAL_NSI ${CMAKE_CURRENT_SOURCE_DIR}/packaging/windows/cindral.nsi)
    add_custom_command(OUTPUT ${CINDRAL_SETUP}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CINDRAL_DIST}
        COMMAND ${CINDRAL_MAKENSIS} -V2 -WX
            -DVERSION=${PROJECT_VERSION} -DVERSION4=${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.0.0
            -DSTAGE=${CINDRAL_STAGE} -DICON=${CINDRAL_GENERATED}/cindral.ico
            -DPLUGINS=${CINDRAL_PLUGINS_NSH}
            -DOUTFILE=${CINDRAL_SETUP} ${CINDRAL_NSI}
        DEPENDS ${CINDRAL_NSI} ${CINDRAL_STAGE}/cindral.exe ${CINDRAL_GENERATED}/cindral.ico
            ${CINDRAL_PLUGINS_NSH}
        COMMENT "Building ${CINDRAL_SETUP}"
        VERBATIM)
    add_custom_target(cindral_installer DEPENDS ${CINDRAL_SETUP})
endif()
