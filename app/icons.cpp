#include "app/icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace rpn {

namespace {

constexpr int kSize = 32;

void DrawPage(QPainter& painter, QRectF page)
{
    painter.setPen(QPen(QColor(70, 70, 70), 1.5));
    painter.setBrush(Qt::white);
    painter.drawRect(page);
    painter.setPen(QPen(QColor(150, 150, 150), 1.5));
    for (qreal y = page.top() + 6; y < page.bottom() - 3; y += 5)
        painter.drawLine(QPointF(page.left() + 4, y), QPointF(page.right() - 4, y));
}

QPixmap Drawn(CommandIcon icon)
{
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
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
            painter.setPen(Qt::white);
            painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 16, QFont::Bold));
            painter.drawText(QRectF(2, 2, 28, 28), Qt::AlignCenter, QStringLiteral("?"));
            break;
        case CommandIcon::Application: {
            painter.setPen(Qt::NoPen);
            painter.setBrush(QColor(60, 60, 62));
            painter.drawRoundedRect(QRectF(4, 1, 24, 30), 3, 3);
            painter.setBrush(QColor(180, 241, 235));
            painter.drawRect(QRectF(7, 4, 18, 7));
            const QColor keys[] = {QColor(90, 90, 88), QColor(45, 45, 255), QColor(45, 45, 255)};
            for (int row = 0; row < 3; ++row)
                for (int column = 0; column < 3; ++column) {
                    painter.setBrush(keys[column == 0 ? 0 : 1 + row % 2]);
                    painter.drawRoundedRect(QRectF(7 + 6.5 * column, 14 + 5.5 * row, 5, 4), 1, 1);
                }
            break;
        }
    }
    return pixmap;
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
            return QStringLiteral("rpn");
    }
    return {};
}

}  // namespace

QIcon IconFor(CommandIcon icon)
{
    return QIcon::fromTheme(ThemeName(icon), QIcon(Drawn(icon)));
}

}  // namespace rpn
