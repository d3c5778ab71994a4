# Installs the build into a fresh prefix and checks that a desktop finds
# everything there: every file in place, the entry's Exec and Icon resolving
# to installed files, the metainfo naming the installed entry, and the MIME
# database built from the tree mapping *.rpn to the state-file type.
string(REPLACE "|" ";" EXPECTED_FILES "${EXPECTED_FILES}")
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIRECTORY}" --prefix "${PREFIX}"
    OUTPUT_QUIET RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

set(missing "")
foreach(path IN LISTS EXPECTED_FILES)
    if(NOT EXISTS "${PREFIX}/${path}")
        list(APPEND missing "${path}")
    endif()
endforeach()
if(missing)
    message(FATAL_ERROR "missing from the installed tree: ${missing}")
endif()

set(desktop_file "${PREFIX}/${DATADIR}/applications/${APP_ID}.desktop")
execute_process(COMMAND "${DESKTOP_FILE_VALIDATE}" "${desktop_file}" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "the installed desktop entry does not validate")
endif()

file(STRINGS "${desktop_file}" exec_line REGEX "^Exec=")
file(STRINGS "${desktop_file}" icon_line REGEX "^Icon=")
string(REGEX REPLACE "^Exec=([^ ]+).*" "\\1" exec_name "${exec_line}")
string(REGEX REPLACE "^Icon=" "" icon_name "${icon_line}")
if(CHECK_EXEC AND NOT EXISTS "${PREFIX}/${BINDIR}/${exec_name}")
    message(FATAL_ERROR "Exec names '${exec_name}', which is not installed in ${BINDIR}")
endif()
# The program finds its click by a path relative to itself.
if(CHECK_EXEC)
    # QStringLiteral keeps it as UTF-16.
    file(STRINGS "${PREFIX}/${BINDIR}/rpn" click_paths ENCODING UTF-16LE REGEX "click\\.wav$")
    if(NOT click_paths)
        message(FATAL_ERROR "the program names no click file")
    endif()
    foreach(click_path IN LISTS click_paths)
        if(NOT EXISTS "${PREFIX}/${BINDIR}/${click_path}")
            message(FATAL_ERROR "the program looks for its click at ${BINDIR}/${click_path}, which is not installed")
        endif()
    endforeach()
endif()
if(NOT EXISTS "${PREFIX}/${DATADIR}/icons/hicolor/scalable/apps/${icon_name}.svg")
    message(FATAL_ERROR "Icon names '${icon_name}', which has no installed scalable icon")
endif()

file(READ "${PREFIX}/${DATADIR}/metainfo/${APP_ID}.metainfo.xml" metainfo)
if(NOT metainfo MATCHES "<launchable type=\"desktop-id\">${APP_ID}.desktop</launchable>")
    message(FATAL_ERROR "the metainfo does not launch the installed desktop entry ${APP_ID}.desktop")
endif()

# With the prefix on the data path, anything it says on stderr is a complaint.
execute_process(COMMAND "${CMAKE_COMMAND}" -E env "XDG_DATA_DIRS=${PREFIX}/${DATADIR}"
    "XDG_DATA_HOME=${PREFIX}/${DATADIR}" "${UPDATE_MIME_DATABASE}" "${PREFIX}/${DATADIR}/mime" RESULT_VARIABLE result
    ERROR_VARIABLE mime_errors)
if(NOT result EQUAL 0 OR NOT mime_errors STREQUAL "")
    message(FATAL_ERROR "update-mime-database rejected the MIME entry: ${mime_errors}")
endif()
file(STRINGS "${PREFIX}/${DATADIR}/mime/globs2" globs REGEX ":application/x-rpn-state:\\*\\.rpn$")
if(NOT globs)
    message(FATAL_ERROR "the MIME database built from the tree does not map *.rpn to application/x-rpn-state")
endif()
file(READ "${desktop_file}" desktop_text)
if(NOT desktop_text MATCHES "\nMimeType=([^\n]*;)?application/x-rpn-state;")
    message(FATAL_ERROR "the desktop entry does not open application/x-rpn-state")
endif()
message(STATUS "installed tree in ${PREFIX} is complete")
