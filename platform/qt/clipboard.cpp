#include "platform/qt/clipboard.h"

#include <QClipboard>
#include <QMimeData>
#include <QString>

namespace rpn {

void QtClipboard::PutText(std::wstring_view text)
{
    m_clipboard.setText(QString::fromStdWString(std::wstring(text)));
}

bool QtClipboard::HasText()
{
    const QMimeData* data = m_clipboard.mimeData();
    return data != nullptr && data->hasText();
}

std::u16string_view QtClipboard::GetText()
{
    m_text = m_clipboard.text();
    return {QStringView(m_text).utf16(), static_cast<std::size_t>(m_text.size())};
}

}  // namespace rpn
