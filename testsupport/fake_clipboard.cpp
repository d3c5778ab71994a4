#include "testsupport/fake_clipboard.h"

#include "persist/utf8.h"

namespace rpn::test {

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
