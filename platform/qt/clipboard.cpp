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

std::wstring QtClipboard::GetText()
{
    return m_clipboard.text().toStdWString();
}

}  // namespace rpn
