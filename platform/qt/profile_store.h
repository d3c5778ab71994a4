#pragma once

#include <QMap>
#include <QString>
#include <QVariant>

#include "persist/standard_file_system.h"
#include "platform/profile_store.h"

namespace rpn {

// The profile store as an INI file in the form QSettings writes, read and
// written only by the file layer, as a state file is (at most
// kMostSettingsFileBytes); QSettings turns the text into entries and back on
// a scratch copy. A file that exists but is refused when read leaves the
// store empty and is never written; both are said on standard error.
class QtProfileStore final : public ProfileStore {
public:
    // The user's store: "Local AppWizard-Generated Applications/RPN.ini" in
    // the user's configuration directory.
    QtProfileStore();
    // A store in the given INI file, for tests and tools; through calls
    // instead of the system's own, for tests that fail a step.
    explicit QtProfileStore(const QString& iniPath, SystemCalls* calls = nullptr);

    std::wstring GetProfileString(std::wstring_view section, std::wstring_view entry) override;
    std::int32_t GetProfileInt(std::wstring_view section, std::wstring_view entry, std::int32_t absentValue) override;
    void WriteProfileString(std::wstring_view section, std::wstring_view entry, std::wstring_view text) override;
    void WriteProfileInt(std::wstring_view section, std::wstring_view entry, std::int32_t value) override;
    bool Flush() override;

    // The file exists but was not read, which the caller says once.
    bool Refused() const { return m_refused; }

private:
    QString m_path;
    StandardFileSystem m_files;
    // The file as read, and its entries with the ones written since.
    QByteArray m_text;
    QMap<QString, QVariant> m_entries;
    bool m_refused = false;
};

}  // namespace rpn
