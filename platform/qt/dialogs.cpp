#include "platform/qt/dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStringList>

#include "platform/qt/about_dialog.h"

namespace rpn {

QString QtNameFilter(const std::wstring& filter)
{
    const QString text = QString::fromStdWString(filter);
    const qsizetype bar = text.indexOf(QLatin1Char('|'));
    if (bar < 0)
        return text;
    QString description = text.left(bar).trimmed();
    // Several patterns are parted by ";" in the bar form, by blanks in Qt's.
    const QString pattern = text.mid(bar + 1).trimmed().replace(QLatin1Char(';'), QLatin1Char(' '));
    if (pattern.isEmpty())
        return description;
    if (description.endsWith(QLatin1Char(')'))) {
        const qsizetype open = description.lastIndexOf(QLatin1Char('('));
        if (open >= 0)
            description = description.left(open).trimmed();
    }
    return description + QStringLiteral(" (") + pattern + QLatin1Char(')');
}

QString QtDefaultSuffix(const std::wstring& defaultExtension)
{
    QString suffix = QString::fromStdWString(defaultExtension);
    if (suffix.startsWith(QLatin1Char('*')))
        suffix.remove(0, 1);
    if (suffix.startsWith(QLatin1Char('.')))
        suffix.remove(0, 1);
    return suffix;
}

std::optional<std::wstring> QtDialogs::AskFileName(const FileDialogRequest& request)
{
    QFileDialog dialog(m_parent, QString::fromStdWString(request.title));
    dialog.setNameFilter(QtNameFilter(request.filter));
    dialog.setDefaultSuffix(QtDefaultSuffix(request.defaultExtension));
    // Even the open dialog takes a name that does not exist yet: the reader
    // reports a missing file itself.
    dialog.setFileMode(QFileDialog::AnyFile);
    if (m_recentFiles && !m_recentFiles->Paths().empty())
        if (const QDir folder = QFileInfo(QString::fromStdWString(m_recentFiles->Paths().front())).dir();
            folder.exists())
            dialog.setDirectory(folder);
    if (request.kind == FileDialogKind::Save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
    }
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty())
        return std::nullopt;
    return files.front().toStdWString();
}

void QtDialogs::ShowMessage(std::wstring_view text)
{
    QMessageBox box(QMessageBox::NoIcon, m_messageTitle, QString::fromStdWString(std::wstring(text)), QMessageBox::Ok,
                    m_parent);
    box.exec();
}

void QtDialogs::ShowAbout()
{
    CAboutDlg dialog(m_parent);
    dialog.SponsorAddress = QString::fromUtf8(kSponsorAddress);
    dialog.InitDialog();
    dialog.exec();
}

}  // namespace rpn
