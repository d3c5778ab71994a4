#pragma once

#include <QSettings>
#include <QString>

#include "platform/profile_store.h"

namespace rpn {

// The profile store as an INI file kept by QSettings. QSettings writes the
// file through a temporary file and a rename, so a failed write keeps the
// previous file.
class QtProfileStore final : public ProfileStore {
public:
    // The user's store: "Local AppWizard-Generated Applications/RPN.ini" in
    // the user's configuration directory.
    QtProfileStore();
    // A store in the given INI file, for tests and tools.
    explicit QtProfileStore(const QString& iniPath);

    std::wstring GetProfileString(std::wstring_view section, std::wstring_view entry) override;
    std::int32_t GetProfileInt(std::wstring_view section, std::wstring_view entry, std::int32_t absentValue) override;
    void WriteProfileString(std::wstring_view section, std::wstring_view entry, std::wstring_view text) override;
    void WriteProfileInt(std::wstring_view section, std::wstring_view entry, std::int32_t value) override;
    bool Flush() override;

    QString FileName() const { return m_settings.fileName(); }

private:
    QSettings m_settings;
};

}  // namespace rpn
