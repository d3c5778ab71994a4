#include "platform/qt/about_dialog.h"

#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace rpn {

namespace {

QLabel* PlainLabel(const char* text, QWidget* parent)
{
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}

}  // namespace

// The resource's places in dialog units fit the handheld's font only; here
// the layouts size the box to the texts in the font and scale actually used,
// so that no text is cut and no part of the box is left empty. The order is
// the resource's: icon beside the version, the notice, the sponsor's label
// and address, the OK button.
CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QString::fromUtf8(kAboutCaption));
    QFont font(QStringLiteral("System"));
    font.setPointSize(8);
    setFont(font);

    auto* icon = new QLabel(this);
    // The program's icon, which the window it is shown over carries.
    icon->setPixmap(windowIcon().pixmap(32, 32));
    icon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    QLabel* version = PlainLabel(kAboutVersionText, this);
    version->setWordWrap(true);

    QLabel* notice = PlainLabel(kAboutNotice, this);
    notice->setWordWrap(true);

    QLabel* sponsor = PlainLabel(kAboutSponsorLabel, this);

    m_address = new QLineEdit(this);
    m_address->setObjectName(QStringLiteral("SponsorAddress"));
    m_address->setReadOnly(true);
    sponsor->setBuddy(m_address);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    const int spacing = QFontMetrics(font).height();
    auto* heading = new QGridLayout;
    heading->setHorizontalSpacing(spacing);
    heading->addWidget(icon, 0, 0);
    heading->addWidget(version, 0, 1);
    heading->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(heading);
    layout->addSpacing(spacing / 2);
    layout->addWidget(notice);
    layout->addSpacing(spacing / 2);
    layout->addWidget(sponsor);
    layout->addWidget(m_address);
    layout->addSpacing(spacing / 2);
    layout->addWidget(buttons);
    // The box takes the size its contents ask for and keeps it.
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CAboutDlg::InitDialog()
{
    m_address->setText(SponsorAddress);
    m_address->setCursorPosition(0);
    // Wide enough for the whole address, frame and margins included.
    const QFontMetrics metrics(m_address->font());
    constexpr int kFrameAndMargins = 16;
    m_address->setMinimumWidth(metrics.horizontalAdvance(SponsorAddress) + kFrameAndMargins);
}

QString CAboutDlg::AddressShown() const
{
    return m_address->text();
}

}  // namespace rpn
