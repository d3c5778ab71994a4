#include "testsupport/fake_clipboard.h"

namespace rpn::test {

std::u16string Utf16(std::wstring_view text)
{
    std::u16string units;
    for (const wchar_t c : text) {
        const auto code = static_cast<char32_t>(c);
        if (code < 0x10000) {
            units += static_cast<char16_t>(code);
        } else {
            units += static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
            units += static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
        }
    }
    return units;
}

void FakeClipboard::Expect(bool open)
{
    if (m_open != open)
        ++m_misuses;
}

bool FakeClipboard::Open()
{
    Expect(false);
    if (m_busy)
        return false;
    m_open = true;
    ++m_opens;
    return true;
}

void FakeClipboard::Close()
{
    Expect(true);
    m_open = false;
    ++m_closes;
}

void FakeClipboard::PutText(std::wstring_view text)
{
    Expect(true);
    m_text = std::wstring(text);
}

bool FakeClipboard::HasText()
{
    Expect(true);
    return m_text.has_value();
}

std::u16string_view FakeClipboard::GetText()
{
    Expect(true);
    m_given = Utf16(m_text.value_or(std::wstring()));
    return m_given;
}

}  // namespace rpn::test
