# `format-check` fails when a tracked C++ file differs from .clang-format;
# `format` rewrites them in place.
find_program(CLANG_FORMAT NAMES clang-format clang-format-14)
find_package(Git QUIET)
if(CLANG_FORMAT AND GIT_FOUND)
    set(list_sources ${GIT_EXECUTABLE} -C ${PROJECT_SOURCE_DIR} ls-files -z -- *.cpp *.h)
    add_custom_target(format-check
        COMMAND ${list_sources} | xargs -0 ${CLANG_FORMAT} --dry-run -Werror
        WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
        COMMENT "Checking the formatting of the sources"
        VERBATIM)
    add_custom_target(format
        COMMAND ${list_sources} | xargs -0 ${CLANG_FORMAT} -i
        WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
        COMMENT "Formatting the sources"
        VERBATIM)
    # The same check as a test, so that every test run includes it.
    set(RPN_FORMAT_CHECK_SCRIPT
        "'${GIT_EXECUTABLE}' ls-files -z -- '*.cpp' '*.h' | xargs -0 '${CLANG_FORMAT}' --dry-run -Werror")
endif()
