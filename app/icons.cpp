#include "app/icons.h"

#include <QLatin1String>
#include <QPainter>
#include <QPixmap>

#include "platform/qt/unpacked_image.h"

namespace rpn {

namespace {

// One size of the program's own icon, the one installed for the desktop, as
// the build unpacked it into the resources (bare ARGB32 scanlines, stored
// uncompressed): decoding its PNG at start would also have Qt ask every
// image-format plugin about PNG.
QImage ApplicationIcon(int size)
{
    return UnpackedImage(QStringLiteral(":/icons/%1/rpn.argb32").arg(size), QSize(size, size), QImage::Format_ARGB32);
}

void DrawPage(QPainter& painter, QRectF page)
{
    painter.setPen(QPen(QColor(70, 70, 70), 1.5));
    painter.setBrush(Qt::white);
    painter.drawRect(page);
    painter.setPen(QPen(QColor(150, 150, 150), 1.5));
    for (qreal y = page.top() + 6; y < page.bottom() - 3; y += 5)
        painter.drawLine(QPointF(page.left() + 4, y), QPointF(page.right() - 4, y));
}

QString ThemeName(CommandIcon icon)
{
    switch (icon) {
        case CommandIcon::Cut:
            return QStringLiteral("edit-cut");
        case CommandIcon::Copy:
            return QStringLiteral("edit-copy");
        case CommandIcon::Paste:
            return QStringLiteral("edit-paste");
        case CommandIcon::About:
            return QStringLiteral("help-about");
        case CommandIcon::Application:
            break;
    }
    return {};
}

}  // namespace

QIcon IconFor(CommandIcon icon)
{
    if (icon == CommandIcon::Application) {
        QIcon application;
        for (const int size : {16, 32, 48})
            application.addPixmap(QPixmap::fromImage(ApplicationIcon(size)));
        return application;
    }
    // With no icon theme chosen, Qt looks in "hicolor", which by convention
    // holds application icons only: asking it for edit-cut loads Qt's SVG
    // icon engine and parses the theme's index, about 3 ms of every start
    // spent on finding nothing.
    const QString theme = QIcon::themeName();
    const QString name = ThemeName(icon);
    if (!theme.isEmpty() && theme != QLatin1String("hicolor") && QIcon::hasThemeIcon(name))
        return QIcon::fromTheme(name);
    return QIcon(QPixmap::fromImage(DrawCommandIcon(icon)));
}

QImage DrawCommandIcon(CommandIcon icon)
{
    QImage image(kCommandIconSize, kCommandIconSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    switch (icon) {
        case CommandIcon::Cut:
            painter.setPen(QPen(QColor(60, 60, 60), 2.5));
            painter.drawLine(QPointF(9, 4), QPointF(21, 22));
            painter.drawLine(QPointF(23, 4), QPointF(11, 22));
            painter.setBrush(Qt::NoBrush);
            painter.setPen(QPen(QColor(200, 40, 40), 3));
            painter.drawEllipse(QPointF(9, 25), 4.5, 4.5);
            painter.drawEllipse(QPointF(23, 25), 4.5, 4.5);
            break;
        case CommandIcon::Copy:
            DrawPage(painter, QRectF(4, 3, 16, 20));
            DrawPage(painter, QRectF(12, 10, 16, 20));
            break;
        case CommandIcon::Paste:
            painter.setPen(QPen(QColor(90, 60, 30), 1.5));
            painter.setBrush(QColor(190, 140, 80));
            painter.drawRoundedRect(QRectF(4, 5, 20, 24), 2, 2);
            painter.setBrush(QColor(120, 120, 120));
            painter.drawRect(QRectF(9, 2, 10, 6));
            DrawPage(painter, QRectF(13, 12, 15, 18));
            break;
        case CommandIcon::About:
            painter.setPen(Qt::NoPen);
            painter.setBrush(QColor(40, 90, 200));
            painter.drawEllipse(QRectF(2, 2, 28, 28));
            // An "i" of two shapes: a text would load a third font at start.
            painter.setBrush(Qt::white);
            painter.drawEllipse(QPointF(16, 9.5), 2.6, 2.6);
            painter.drawRoundedRect(QRectF(13.6, 13.5, 4.8, 12), 1.2, 1.2);
            break;
        case CommandIcon::Application:
            break;
    }
    return image;
}

}  // namespace rpn
