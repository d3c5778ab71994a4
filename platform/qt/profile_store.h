#pragma once

#include <QMap>
#include <QSettings>
#include <QString>
#include <QVariant>
#include <memory>

#include "persist/standard_file_system.h"
#include "platform/profile_store.h"

namespace rpn {

// The profile store as an INI file in the form QSettings writes. The file is
// read and written only by the file layer, as a state file is: a regular
// file (links followed) of at most kMostSettingsFileBytes, opened without
// blocking, replaced through a temporary file beside it. QSettings turns the
// text into entries and back on a scratch copy of its own.
//
// A file that exists but is refused when read leaves the store empty, so the
// calculator starts from the reset state, and is never written: Flush leaves
// it as it is. Both are said on standard error.
class QtProfileStore final : public ProfileStore {
public:
    // The user's store: "Local AppWizard-Generated Applications/RPN.ini" in
    // the user's configuration directory.
    QtProfileStore();
    // A store in the given INI file, for tests and tools; through calls
    // instead of the system's own, for tests that fail a step.
    explicit QtProfileStore(const QString& iniPath);
    QtProfileStore(const QString& iniPath, SystemCalls& calls);

    std::wstring GetProfileString(std::wstring_view section, std::wstring_view entry) override;
    std::int32_t GetProfileInt(std::wstring_view section, std::wstring_view entry, std::int32_t absentValue) override;
    void WriteProfileString(std::wstring_view section, std::wstring_view entry, std::wstring_view text) override;
    void WriteProfileInt(std::wstring_view section, std::wstring_view entry, std::int32_t value) override;
    bool Flush() override;

    QString FileName() const { return m_path; }
    // The file exists but was not read; the caller says so once, as it
    // says that a state file could not be read.
    bool Refused() const { return m_refused; }

private:
    void Read();
    QVariant Value(std::wstring_view section, std::wstring_view entry) const;

    QString m_path;
    StandardFileSystem m_files;
    // The file as read; its entries, and the ones written since, are what
    // Flush writes back.
    QByteArray m_text;
    std::unique_ptr<QSettings> m_read;
    QMap<QString, QVariant> m_written;
    bool m_refused = false;
    bool m_saidLeftAlone = false;
};

}  // namespace rpn
