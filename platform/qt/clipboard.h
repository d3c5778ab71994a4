#pragma once

#include <QString>

#include "platform/clipboard.h"

class QClipboard;

namespace rpn {

// The application's QClipboard. Qt gives the program the clipboard whenever
// it asks, so Open never fails here.
class QtClipboard final : public Clipboard {
public:
    // The clipboard belongs to the running QGuiApplication and must outlive this object.
    explicit QtClipboard(QClipboard& clipboard) : m_clipboard(clipboard) {}

    bool Open() override { return true; }
    void Close() override { m_text = QString(); }
    void PutText(std::wstring_view text) override;
    bool HasText() override;
    std::u16string_view GetText() override;

private:
    QClipboard& m_clipboard;
    // Qt's copy of the text, which GetText's view looks into.
    QString m_text;
};

}  // namespace rpn
