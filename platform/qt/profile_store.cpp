#include "platform/qt/profile_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>

#include "persist/settings.h"

namespace rpn {

namespace {

QString ToQString(std::wstring_view text)
{
    return QString::fromStdWString(std::wstring(text));
}

// QSettings keeps sections as groups: "section/entry".
QString Key(std::wstring_view section, std::wstring_view entry)
{
    return ToQString(section) + QLatin1Char('/') + ToQString(entry);
}

// An INI value with an unquoted comma comes back as a list; a hand-edited
// entry like that is taken as the text it was.
QString ValueText(const QVariant& value)
{
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}

// QSettings reads and writes only files: a scratch one holding text.
bool FillScratch(QTemporaryFile& scratch, const QByteArray& text)
{
    return scratch.open() && scratch.write(text) == text.size() && scratch.flush();
}

std::span<std::uint8_t> Bytes(QByteArray& text)
{
    return {reinterpret_cast<std::uint8_t*>(text.data()), static_cast<std::size_t>(text.size())};
}

std::wstring FilePath(const QString& path)
{
    return WidePath(QFile::encodeName(path).toStdString());
}

}  // namespace

QtProfileStore::QtProfileStore()
    : QtProfileStore(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                     QStringLiteral("/Local AppWizard-Generated Applications/RPN.ini"))
{
}

QtProfileStore::QtProfileStore(const QString& iniPath, SystemCalls* calls)
    : m_path(iniPath), m_files(kMostSettingsFileBytes, calls)
{
    const auto source = m_files.OpenFile(FilePath(m_path));
    // No file (and no link to nothing) is a first start.
    if (!source && errno == ENOENT && !QFileInfo(m_path).isSymLink())
        return;
    std::size_t got = 0;
    m_text.resize(source ? static_cast<qsizetype>(source->Remaining().value_or(0)) : 0);
    for (std::size_t piece = 1; source && piece != 0 && got < static_cast<std::size_t>(m_text.size()); got += piece)
        piece = source->Read(Bytes(m_text).subspan(got));
    m_refused = !source || got < static_cast<std::size_t>(m_text.size());
    if (m_refused) {
        std::fprintf(stderr,
                     "rpn: the settings file %s was not read (%s); the calculator starts from the reset state\n",
                     QFile::encodeName(m_path).constData(), source ? "read error" : FileErrorText(errno).c_str());
        m_text.clear();
    }
    QTemporaryFile scratch;
    if (!m_text.isEmpty() && FillScratch(scratch, m_text)) {
        const QSettings settings(scratch.fileName(), QSettings::IniFormat);
        for (const QString& key : settings.allKeys())
            m_entries.insert(key, settings.value(key));
    }
}

// An absent entry is the empty text, which is no integer either.
std::wstring QtProfileStore::GetProfileString(std::wstring_view section, std::wstring_view entry)
{
    return ValueText(m_entries.value(Key(section, entry))).toStdWString();
}

std::int32_t QtProfileStore::GetProfileInt(std::wstring_view section, std::wstring_view entry, std::int32_t absentValue)
{
    return ProfileIntFromText(GetProfileString(section, entry)).value_or(absentValue);
}

void QtProfileStore::WriteProfileString(std::wstring_view section, std::wstring_view entry, std::wstring_view text)
{
    m_entries.insert(Key(section, entry), ToQString(text));
}

void QtProfileStore::WriteProfileInt(std::wstring_view section, std::wstring_view entry, std::int32_t value)
{
    m_entries.insert(Key(section, entry), value);
}

bool QtProfileStore::Flush()
{
    const QByteArray name = QFile::encodeName(m_path);
    if (m_refused) {
        std::fprintf(stderr, "rpn: the settings file %s is left as it is, since it was not read\n", name.constData());
        return false;
    }
    // The entries written over the file as read, so they keep the form and
    // order in which QSettings writes them.
    QTemporaryFile scratch;
    QFile serialised;
    if (FillScratch(scratch, m_text)) {
        QSettings settings(scratch.fileName(), QSettings::IniFormat);
        for (auto entry = m_entries.cbegin(); entry != m_entries.cend(); ++entry)
            settings.setValue(entry.key(), entry.value());
        settings.sync();
        serialised.setFileName(scratch.fileName());
        if (settings.status() != QSettings::NoError || !serialised.open(QIODevice::ReadOnly))
            serialised.setFileName(QString());
    }
    QByteArray text = serialised.readAll();
    QDir().mkpath(QFileInfo(m_path).path());
    const auto sink = serialised.isOpen() ? m_files.CreateFile(FilePath(m_path)) : nullptr;
    if (!sink || !sink->Write(Bytes(text)) || !sink->Commit()) {
        std::fprintf(stderr, "rpn: the settings could not be saved to %s (%s)\n", name.constData(),
                     serialised.isOpen() ? FileErrorText(errno).c_str() : "no scratch copy for QSettings");
        return false;
    }
    m_text = text;
    return true;
}

}  // namespace rpn
