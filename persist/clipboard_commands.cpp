#include "persist/clipboard_commands.h"

#include "display/format.h"
#include "engine/entry.h"
#include "engine/number_text.h"

namespace rpn {

namespace {

// Holds the clipboard open for one command and closes it on every way out.
class OpenClipboard {
public:
    explicit OpenClipboard(Clipboard& clipboard) : m_clipboard(clipboard), m_open(clipboard.Open()) {}
    ~OpenClipboard()
    {
        if (m_open)
            m_clipboard.Close();
    }
    OpenClipboard(const OpenClipboard&) = delete;
    OpenClipboard& operator=(const OpenClipboard&) = delete;

    explicit operator bool() const { return m_open; }

private:
    Clipboard& m_clipboard;
    bool m_open;
};

}  // namespace

void OnEditCopy(const CalcState& state, Clipboard& clipboard)
{
    const std::wstring text = RegisterText(state.EntryMode ? EntryValue(state) : state.RegX);
    const OpenClipboard open(clipboard);
    if (open)
        clipboard.PutText(text);
}

void OnEditCut(CalcState& state, Clipboard& clipboard)
{
    OnEditCopy(state, clipboard);
    ClearEntry(state);
    UpdateDisplay(state);
}

bool OnEditPaste(CalcState& state, Clipboard& clipboard, Dialogs& dialogs)
{
    const OpenClipboard open(clipboard);
    if (!open)
        return false;
    if (!clipboard.HasText()) {
        dialogs.ShowMessage(kNoClipboardText);
        return false;
    }
    state.EntryMode = false;
    state.RegX = ParseLeadingNumber(clipboard.GetText());
    UpdateDisplay(state);
    return true;
}

std::optional<bool> OnUpdateEditPaste(Clipboard& clipboard)
{
    const OpenClipboard open(clipboard);
    if (!open)
        return std::nullopt;
    return clipboard.HasText();
}

}  // namespace rpn
