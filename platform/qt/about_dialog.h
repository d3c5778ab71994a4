#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;

namespace rpn {

inline constexpr char kAboutCaption[] = "About Kel's RPN";
inline constexpr char kAboutVersionText[] = "Kel's RPN Calculator Version 3.0 (Beta)";
inline constexpr char kAboutNotice[] = "Free software (MIT).";
inline constexpr char kAboutSponsorLabel[] = "Visit the sponsor:";
inline constexpr char kSponsorAddress[] = "https://rpn-calculator.example.org/";

// The About box: the resource's controls in the resource's order, laid out
// to fit their texts, closed with its OK button.
class CAboutDlg final : public QDialog {
public:
    explicit CAboutDlg(QWidget* parent = nullptr);

    QString SponsorAddress;

    // Puts SponsorAddress into the address field, as the data exchange does.
    void InitDialog();
    QString AddressShown() const;

private:
    QLineEdit* m_address = nullptr;
};

}  // namespace rpn
