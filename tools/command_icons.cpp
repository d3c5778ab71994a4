#include <QImage>
#include <QSaveFile>
#include <cstdio>

#include "app/command_icon_drawing.h"

// Draws the command bar's own icons into a directory as the bare scanlines
// the program reads from its resources: cut, copy, paste and about, each 32
// x 32 premultiplied ARGB32.
//
//   command_icons DIRECTORY
int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: command_icons DIRECTORY\n");
        return 2;
    }
    const struct {
        rpn::CommandIcon icon;
        const char* name;
    } icons[] = {{rpn::CommandIcon::Cut, "cut"},
                 {rpn::CommandIcon::Copy, "copy"},
                 {rpn::CommandIcon::Paste, "paste"},
                 {rpn::CommandIcon::About, "about"}};
    for (const auto& [icon, name] : icons) {
        const QImage image = rpn::DrawCommandIcon(icon);
        const QString path = QString::fromLocal8Bit(argv[1]) + QStringLiteral("/%1.argb32").arg(QLatin1String(name));
        QSaveFile output(path);
        bool written = output.open(QIODevice::WriteOnly);
        const qsizetype rowBytes = qsizetype{4} * image.width();
        for (int y = 0; written && y < image.height(); ++y)
            written = output.write(reinterpret_cast<const char*>(image.constScanLine(y)), rowBytes) == rowBytes;
        if (!written || !output.commit()) {
            std::fprintf(stderr, "command_icons: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
