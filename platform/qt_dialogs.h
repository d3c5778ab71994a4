#pragma once

#include <QString>

#include "platform/dialogs.h"

class QWidget;

namespace rpn {

// File dialogs and message boxes as Qt widgets, modal to an optional parent
// window (which must outlive this object).
class QtDialogs final : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent = nullptr, QString messageTitle = QStringLiteral("RPN"))
        : m_parent(parent), m_messageTitle(std::move(messageTitle))
    {
    }

    std::optional<std::wstring> AskFileName(const FileDialogRequest& request) override;
    void ShowMessage(std::wstring_view text) override;

private:
    QWidget* m_parent;
    QString m_messageTitle;
};

// The Qt name filter for a "description|pattern" filter text: the
// description when it already names the pattern in brackets, else
// "description (pattern)". Exposed for tests.
QString QtNameFilter(const std::wstring& filter);
// "*.rpn" becomes "rpn", the form QFileDialog appends to a bare name.
QString QtDefaultSuffix(const std::wstring& defaultExtension);

}  // namespace rpn
