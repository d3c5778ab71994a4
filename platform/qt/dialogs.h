#pragma once

#include <QString>

#include "platform/dialogs.h"
#include "platform/recent_file_list.h"

class QWidget;

namespace rpn {

// File dialogs and message boxes as Qt widgets, modal to a parent window
// and shown over it. The parent may be set once the window exists (the
// dialogs are made before it); it must outlive its use here.
class QtDialogs final : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent = nullptr, QString messageTitle = QStringLiteral("RPN"))
        : m_parent(parent), m_messageTitle(std::move(messageTitle))
    {
    }

    void SetParent(QWidget* parent) { m_parent = parent; }
    QWidget* Parent() const { return m_parent; }

    std::optional<std::wstring> AskFileName(const FileDialogRequest& request) override;
    void ShowMessage(std::wstring_view text) override;
    void ShowAbout() override;
    // File dialogs open in the folder of the list's newest file, if it exists.
    void OpenInFolderOf(const RecentFileList& recentFiles) { m_recentFiles = &recentFiles; }

private:
    QWidget* m_parent;
    QString m_messageTitle;
    const RecentFileList* m_recentFiles = nullptr;
};

// The Qt name filter for a "description|pattern" filter text. Qt reads the
// patterns from the brackets at the end of the description, and shows the
// description as it stands: brackets already there ("All Files (*.*)") are
// replaced by the real pattern, never followed by a second pair.
// Exposed for tests.
QString QtNameFilter(const std::wstring& filter);
// "*.rpn" becomes "rpn", the form QFileDialog appends to a bare name.
QString QtDefaultSuffix(const std::wstring& defaultExtension);

}  // namespace rpn
