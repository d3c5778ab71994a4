# The checked variants of the C library's string and memory functions in
# optimised builds (they need the optimiser's object sizes). The sanitizer
# and fuzzer builds have their own checks and are left alone.
add_compile_definitions($<$<CONFIG:Release>:_FORTIFY_SOURCE=2>)
