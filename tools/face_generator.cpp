#include <QGuiApplication>
#include <cstdio>
#include <exception>
#include <vector>

#include "tools/face_drawing.h"

// Writes the face pictures into the directory given as the only argument.
int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: face_generator OUTPUT_DIRECTORY\n");
        return 2;
    }
    // Drawing needs no screen; the fonts are read from their files.
    std::vector<char*> arguments{argv[0], const_cast<char*>("-platform"), const_cast<char*>("offscreen")};
    int argumentCount = static_cast<int>(arguments.size());
    QGuiApplication application(argumentCount, arguments.data());
    try {
        rpn::WriteFacePictures(QString::fromLocal8Bit(argv[1]));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "face_generator: %s\n", error.what());
        return 1;
    }
    return 0;
}
