#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "engine/calc_state.h"
#include "persist/utf8.h"
#include "platform/byte_stream.h"
#include "platform/clipboard.h"
#include "platform/dialogs.h"
#include "platform/profile_store.h"

// Small in-memory stand-ins for the platform interfaces, so the harnesses
// run the real persistence code without Qt or the test library.
namespace rpn::fuzz {

// A process-wide crash that libFuzzer reports with the input.
[[noreturn]] void Fail(const char* what);

class BytesSource final : public ByteSource {
public:
    explicit BytesSource(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}
    std::size_t Read(std::span<std::uint8_t> buffer) override;

private:
    std::span<const std::uint8_t> m_bytes;
};

class BytesSink final : public ByteSink {
public:
    bool Write(std::span<const std::uint8_t> bytes) override
    {
        m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end());
        return true;
    }
    bool Commit() override { return true; }
    const std::vector<std::uint8_t>& Bytes() const { return m_bytes; }

private:
    std::vector<std::uint8_t> m_bytes;
};

// One file in memory, under any name.
class OneFileSystem final : public FileSystem {
public:
    explicit OneFileSystem(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}
    std::unique_ptr<ByteSink> CreateFile(const std::wstring&) override { return std::make_unique<BytesSink>(); }
    std::unique_ptr<ByteSource> OpenFile(const std::wstring&) override
    {
        return std::make_unique<BytesSource>(m_bytes);
    }

private:
    std::span<const std::uint8_t> m_bytes;
};

// A profile store read from INI text: "[section]" lines and "entry=value"
// lines, blanks around both trimmed, a value in double quotes unquoted.
// Integers are read strictly; anything else counts as absent.
class IniProfileStore final : public ProfileStore {
public:
    IniProfileStore() = default;
    explicit IniProfileStore(std::wstring_view text);

    std::wstring GetProfileString(std::wstring_view section, std::wstring_view entry) override;
    std::int32_t GetProfileInt(std::wstring_view section, std::wstring_view entry, std::int32_t absentValue) override;
    void WriteProfileString(std::wstring_view section, std::wstring_view entry, std::wstring_view text) override;
    void WriteProfileInt(std::wstring_view section, std::wstring_view entry, std::int32_t value) override;
    bool Flush() override { return true; }

private:
    std::map<std::pair<std::wstring, std::wstring>, std::wstring> m_entries;
};

// A clipboard that holds a text, holds something else, or is busy.
class FuzzClipboard final : public Clipboard {
public:
    enum class Content { Busy, NoText, Text };
    FuzzClipboard(Content content, std::wstring text) : m_content(content), m_text(std::move(text)) {}

    bool Open() override;
    void Close() override;
    void PutText(std::wstring_view text) override;
    bool HasText() override;
    std::u16string_view GetText() override;

    bool Balanced() const { return !m_open; }

private:
    void ExpectOpen() const;

    Content m_content;
    std::wstring m_text;
    std::u16string m_given;
    bool m_open = false;
};

// Dialogs that cancel and count the messages.
class CountingDialogs final : public Dialogs {
public:
    std::optional<std::wstring> AskFileName(const FileDialogRequest&) override { return std::nullopt; }
    void ShowMessage(std::wstring_view) override { ++m_messages; }
    int Messages() const { return m_messages; }

private:
    int m_messages = 0;
};

// A calculator part way through a calculation, so a rejected input has
// something to leave alone.
CalcState BusyState();

}  // namespace rpn::fuzz
