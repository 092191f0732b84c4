# Run by `cmake --install`: puts the desktop entry, the MIME package and the thumbnailer entry
# where a desktop looks for them under the prefix, each naming the installed program, and
# refreshes the desktop's databases there. Packagers (DESTDIR set) leave the refresh to the
# package's triggers.
#
# Set before: LOOMSCOPE_DESKTOP_TOOL (make_desktop_files), LOOMSCOPE_DESKTOP_STAGE (a folder
# of the build tree).

set(share "${CMAKE_INSTALL_PREFIX}/share")
execute_process(
    COMMAND "${LOOMSCOPE_DESKTOP_TOOL}" "${CMAKE_INSTALL_PREFIX}/bin/loomscope"
            "${LOOMSCOPE_DESKTOP_STAGE}"
    RESULT_VARIABLE made)
if(NOT made EQUAL 0)
    message(FATAL_ERROR "Could not make the desktop files for ${CMAKE_INSTALL_PREFIX}")
endif()
file(INSTALL "${LOOMSCOPE_DESKTOP_STAGE}/loomscope.desktop" DESTINATION "${share}/applications")
file(INSTALL "${LOOMSCOPE_DESKTOP_STAGE}/loomscope.xml" DESTINATION "${share}/mime/packages")
file(INSTALL "${LOOMSCOPE_DESKTOP_STAGE}/loomscope.thumbnailer" DESTINATION "${share}/thumbnailers")

if("$ENV{DESTDIR}" STREQUAL "")
    find_program(update_mime update-mime-database)
    find_program(update_desktop update-desktop-database)
    find_program(update_icons gtk-update-icon-cache)
    if(update_mime)
        message(STATUS "Refreshing ${share}/mime")
        execute_process(COMMAND "${update_mime}" "${share}/mime")
    endif()
    if(update_desktop)
        message(STATUS "Refreshing ${share}/applications")
        execute_process(COMMAND "${update_desktop}" "${share}/applications")
    endif()
    # A theme folder with a cache would hide the new icons until the cache is made again.
    if(update_icons AND EXISTS "${share}/icons/hicolor/icon-theme.cache")
        execute_process(COMMAND "${update_icons}" -q -t -f "${share}/icons/hicolor")
    endif()
endif()
