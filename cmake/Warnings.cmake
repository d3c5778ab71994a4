# Warnings for the project's own targets, as errors. The core's arithmetic
# must follow the written order of operations, so no fused multiply-add.
add_library(rpn_warnings INTERFACE)
target_compile_options(rpn_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
    -Wnon-virtual-dtor -Wold-style-cast -Wundef -Werror
    -ffp-contract=off)
# GCC 12 reports overlapping copies inside std::string concatenation that
# cannot happen (GCC bug 105651); the sanitizer builds cover the real cases.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(rpn_warnings INTERFACE -Wno-restrict)
endif()
