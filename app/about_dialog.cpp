#include "app/about_dialog.h"

#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/icons.h"

namespace rpn {

namespace {

// Dialog units: a quarter of the font's average character width across,
// an eighth of its height down.
struct DialogUnits {
    explicit DialogUnits(const QFont& font)
    {
        const QFontMetrics metrics(font);
        const QString sample = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
        m_x = metrics.horizontalAdvance(sample) / qreal(sample.size()) / 4;
        m_y = metrics.height() / qreal(8);
    }
    QRect Rect(int x, int y, int width, int height) const
    {
        return {qRound(x * m_x), qRound(y * m_y), qRound(width * m_x), qRound(height * m_y)};
    }

private:
    qreal m_x;
    qreal m_y;
};

}  // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QString::fromUtf8(kAboutCaption));
    QFont font(QStringLiteral("System"));
    font.setPointSize(8);
    setFont(font);
    const DialogUnits units(font);

    auto* icon = new QLabel(this);
    icon->setPixmap(IconFor(CommandIcon::Application).pixmap(32, 32));
    icon->setGeometry(units.Rect(11, 17, 20, 20));

    auto* version = new QLabel(QString::fromUtf8(kAboutVersionText), this);
    version->setTextFormat(Qt::PlainText);
    version->setWordWrap(true);
    version->setGeometry(units.Rect(40, 10, 75, 20));

    auto* notice = new QLabel(QString::fromUtf8(kAboutNotice), this);
    notice->setGeometry(units.Rect(37, 46, 83, 8));

    auto* sponsor = new QLabel(QString::fromUtf8(kAboutSponsorLabel), this);
    sponsor->setGeometry(units.Rect(22, 68, 92, 11));

    m_address = new QLineEdit(this);
    m_address->setObjectName(QStringLiteral("SponsorAddress"));
    m_address->setReadOnly(true);
    m_address->setGeometry(units.Rect(19, 84, 107, 13));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    const QRect area = units.Rect(0, 0, 153, 177);
    const QSize buttonSize = buttons->sizeHint();
    buttons->setGeometry(area.width() - buttonSize.width() - 8, area.height() - buttonSize.height() - 8,
                         buttonSize.width(), buttonSize.height());
    setFixedSize(area.size());
}

void CAboutDlg::InitDialog()
{
    m_address->setText(SponsorAddress);
    m_address->setCursorPosition(0);
}

QString CAboutDlg::AddressShown() const
{
    return m_address->text();
}

}  // namespace rpn
