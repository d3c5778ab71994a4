#pragma once

#include <optional>
#include <string>

#include "platform/clipboard.h"

namespace rpn::test {

// A clipboard in memory that holds a text or something that is no text, can
// be made busy, and counts opens and closes so tests can check they pair up.
class FakeClipboard final : public Clipboard {
public:
    bool Open() override;
    void Close() override;
    void PutText(std::wstring_view text) override;
    bool HasText() override;
    std::u16string_view GetText() override;

    void SetBusy(bool busy) { m_busy = busy; }
    void SetText(std::wstring text) { m_text = std::move(text); }
    // Something other than text, a picture say.
    void SetNonText() { m_text.reset(); }
    const std::optional<std::wstring>& Text() const { return m_text; }

    int Opens() const { return m_opens; }
    int Closes() const { return m_closes; }
    // Calls made while the clipboard was not open, or a second Open.
    int Misuses() const { return m_misuses; }

private:
    void Expect(bool open);

    std::optional<std::wstring> m_text;
    std::u16string m_given;
    bool m_busy = false;
    bool m_open = false;
    int m_opens = 0;
    int m_closes = 0;
    int m_misuses = 0;
};

}  // namespace rpn::test
