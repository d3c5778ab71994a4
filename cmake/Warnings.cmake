# Warnings for the project's own targets, as errors. The core's arithmetic
# must follow the written order of operations, so no fused multiply-add.
add_library(rpn_warnings INTERFACE)
target_compile_options(rpn_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
    -Wnon-virtual-dtor -Wold-style-cast -Wundef -Werror
    -ffp-contract=off)
