#include <cstdio>

#include "tools/click_sound.h"

// Writes the key click to the WAV file named as the only argument.
int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: click_generator OUTPUT_FILE\n");
        return 2;
    }
    if (!rpn::WriteClickWav(argv[1])) {
        std::fprintf(stderr, "click_generator: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
