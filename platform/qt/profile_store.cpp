#include "platform/qt/profile_store.h"

#include <QStringList>
#include <QVariant>

namespace rpn {

namespace {

constexpr char kOrganisation[] = "Local AppWizard-Generated Applications";
constexpr char kApplication[] = "RPN";

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

}  // namespace

QtProfileStore::QtProfileStore()
    : m_settings(QSettings::IniFormat, QSettings::UserScope, QString::fromLatin1(kOrganisation),
                 QString::fromLatin1(kApplication))
{
}

QtProfileStore::QtProfileStore(const QString& iniPath) : m_settings(iniPath, QSettings::IniFormat) {}

std::wstring QtProfileStore::GetProfileString(std::wstring_view section, std::wstring_view entry)
{
    const QVariant value = m_settings.value(Key(section, entry));
    if (!value.isValid())
        return {};
    return ValueText(value).toStdWString();
}

std::int32_t QtProfileStore::GetProfileInt(std::wstring_view section, std::wstring_view entry, std::int32_t absentValue)
{
    const QVariant value = m_settings.value(Key(section, entry));
    if (!value.isValid())
        return absentValue;
    return ProfileIntFromText(ValueText(value).toStdWString()).value_or(absentValue);
}

void QtProfileStore::WriteProfileString(std::wstring_view section, std::wstring_view entry, std::wstring_view text)
{
    m_settings.setValue(Key(section, entry), ToQString(text));
}

void QtProfileStore::WriteProfileInt(std::wstring_view section, std::wstring_view entry, std::int32_t value)
{
    m_settings.setValue(Key(section, entry), value);
}

bool QtProfileStore::Flush()
{
    m_settings.sync();
    return m_settings.status() == QSettings::NoError;
}

}  // namespace rpn
