#include "platform/qt/profile_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <utility>

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

// QSettings reads and writes only files; this is the scratch copy it works
// on, with text in it.
bool FillScratch(QTemporaryFile& scratch, const QByteArray& text)
{
    return scratch.open() && scratch.write(text) == text.size() && scratch.flush();
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

QtProfileStore::QtProfileStore(const QString& iniPath) : m_path(iniPath), m_files(kMostSettingsFileBytes)
{
    Read();
}

QtProfileStore::QtProfileStore(const QString& iniPath, SystemCalls& calls)
    : m_path(iniPath), m_files(calls, kMostSettingsFileBytes)
{
    Read();
}

void QtProfileStore::Read()
{
    const auto source = m_files.OpenFile(FilePath(m_path));
    // No file (and no link to nothing) is a first start.
    if (!source && errno == ENOENT && !QFileInfo(m_path).isSymLink())
        return;
    const std::size_t size = source ? static_cast<std::size_t>(source->Remaining().value_or(0)) : 0;
    m_text.resize(static_cast<qsizetype>(size));
    std::size_t got = 0;
    while (source && got < size) {
        const std::size_t piece = source->Read({reinterpret_cast<std::uint8_t*>(m_text.data()) + got, size - got});
        if (piece == 0) {
            errno = EIO;
            break;
        }
        got += piece;
    }
    if (!source || got < size) {
        m_refused = true;
        m_text.clear();
        std::fprintf(stderr,
                     "rpn: the settings file %s was not read (%s); the calculator starts from the reset state\n",
                     QFile::encodeName(m_path).constData(), FileErrorText(errno).c_str());
        return;
    }
    // QSettings reads its file when it is made, so the scratch copy can go
    // at once.
    QTemporaryFile scratch;
    if (!m_text.isEmpty() && FillScratch(scratch, m_text))
        m_read = std::make_unique<QSettings>(scratch.fileName(), QSettings::IniFormat);
}

QVariant QtProfileStore::Value(std::wstring_view section, std::wstring_view entry) const
{
    const QString key = Key(section, entry);
    if (const auto written = m_written.constFind(key); written != m_written.cend())
        return *written;
    return m_read ? m_read->value(key) : QVariant();
}

std::wstring QtProfileStore::GetProfileString(std::wstring_view section, std::wstring_view entry)
{
    const QVariant value = Value(section, entry);
    if (!value.isValid())
        return {};
    return ValueText(value).toStdWString();
}

std::int32_t QtProfileStore::GetProfileInt(std::wstring_view section, std::wstring_view entry, std::int32_t absentValue)
{
    const QVariant value = Value(section, entry);
    if (!value.isValid())
        return absentValue;
    return ProfileIntFromText(ValueText(value).toStdWString()).value_or(absentValue);
}

void QtProfileStore::WriteProfileString(std::wstring_view section, std::wstring_view entry, std::wstring_view text)
{
    m_written.insert(Key(section, entry), ToQString(text));
}

void QtProfileStore::WriteProfileInt(std::wstring_view section, std::wstring_view entry, std::int32_t value)
{
    m_written.insert(Key(section, entry), value);
}

bool QtProfileStore::Flush()
{
    const QByteArray name = QFile::encodeName(m_path);
    if (m_refused) {
        if (!std::exchange(m_saidLeftAlone, true))
            std::fprintf(stderr, "rpn: the settings file %s is left as it is, since it was not read\n",
                         name.constData());
        return false;
    }
    // The file as read with this session's entries written over it, in the
    // form and order in which QSettings writes it.
    QTemporaryFile scratch;
    QByteArray text;
    if (FillScratch(scratch, m_text)) {
        QSettings settings(scratch.fileName(), QSettings::IniFormat);
        for (auto written = m_written.cbegin(); written != m_written.cend(); ++written)
            settings.setValue(written.key(), written.value());
        settings.sync();
        QFile serialised(scratch.fileName());
        if (settings.status() == QSettings::NoError && serialised.open(QIODevice::ReadOnly))
            text = serialised.readAll();
    }
    QDir().mkpath(QFileInfo(m_path).path());
    errno = 0;
    const auto sink = text.isEmpty() ? nullptr : m_files.CreateFile(FilePath(m_path));
    if (!sink || !sink->Write({reinterpret_cast<const std::uint8_t*>(text.constData()), std::size_t(text.size())}) ||
        !sink->Commit()) {
        std::fprintf(stderr, "rpn: the settings could not be saved to %s (%s)\n", name.constData(),
                     text.isEmpty() ? "no scratch copy" : FileErrorText(errno).c_str());
        return false;
    }
    m_text = text;
    return true;
}

}  // namespace rpn
