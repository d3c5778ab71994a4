#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace rpn {

enum class FileDialogKind { Save, Open };

// What a file dialog shows. The filter is one description and one pattern
// joined by a bar ("Text (*.txt)|*.txt"); the default extension is given as
// a pattern ("*.txt").
struct FileDialogRequest {
    FileDialogKind kind = FileDialogKind::Open;
    std::wstring title;
    std::wstring filter;
    std::wstring defaultExtension;
    // Ask before replacing an existing file (save dialogs).
    bool confirmOverwrite = false;
};

// The modal windows the commands need. Called on the user-interface thread;
// each call returns when the user has closed the window. Owned by the caller.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // The full path chosen, or nothing when the user cancelled. An open
    // dialog does not check that the file exists.
    virtual std::optional<std::wstring> AskFileName(const FileDialogRequest& request) = 0;
    // A message box with the text and one OK button.
    virtual void ShowMessage(std::wstring_view text) = 0;
    // The About box, closed with its OK button. Callers without a window
    // show none.
    virtual void ShowAbout() {}
};

}  // namespace rpn
