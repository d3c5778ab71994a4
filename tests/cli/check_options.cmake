# Runs rpn-cli with the options a user tries first and checks where the text
# goes: asked-for help and version on standard output with status 0, so that
# `rpn-cli --help | less` shows them; a usage error on standard error with 2.
set(cases
    "--help|0|^usage: rpn-cli .*KEY: .* ENTER |^$"
    "-h|0|^usage: rpn-cli |^$"
    "--version|0|^rpn-cli ${VERSION}\n$|^$"
    "--seed|2|^$|^rpn-cli: --seed needs")
foreach(case IN LISTS cases)
    string(REPLACE "|" ";" fields "${case}")
    list(GET fields 0 argument)
    list(GET fields 1 expected_status)
    list(GET fields 2 expected_out)
    list(GET fields 3 expected_err)
    execute_process(COMMAND "${CLI}" ${argument} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT status STREQUAL expected_status OR NOT out MATCHES "${expected_out}" OR NOT err MATCHES "${expected_err}")
        message(SEND_ERROR "rpn-cli ${argument}: status ${status} (expected ${expected_status})\n"
            "stdout: '${out}' (expected to match '${expected_out}')\nstderr: '${err}' (expected to match '${expected_err}')")
    endif()
endforeach()

# Every option the usage names is documented in the man page.
execute_process(COMMAND "${CLI}" --help OUTPUT_VARIABLE usage)
file(READ "${MANPAGE}" manual)
# Brackets would keep a CMake list from splitting, so they go first.
string(REGEX REPLACE "[][|]" " " usage "${usage}")
string(REGEX MATCHALL " --?[a-z]+" options "${usage}")
list(REMOVE_DUPLICATES options)
foreach(option IN LISTS options)
    string(SUBSTRING "${option}" 1 -1 option)
    string(REPLACE "-" "\\-" roff_option "${option}")
    string(FIND "${manual}" "${roff_option}" position)
    if(position EQUAL -1)
        message(SEND_ERROR "rpn-cli --help names ${option}, which ${MANPAGE} does not")
    endif()
endforeach()
