#include "persist/archive.h"

#include <algorithm>
#include <bit>
#include <limits>

#include "persist/utf8.h"

namespace rpn {

namespace {

constexpr std::uint8_t kLongLength = 0xFF;
constexpr std::uint16_t kWideTag = 0xFFFE;
constexpr std::uint16_t kLongerLength = 0xFFFF;
constexpr std::uint32_t kLongestLength = 0xFFFFFFFF;
constexpr char32_t kReplacement = 0xFFFD;

bool IsSurrogate(std::uint32_t unit)
{
    return unit >= 0xD800 && unit <= 0xDFFF;
}

// Turns UTF-16 units into code points; a high surrogate whose partner has not
// arrived yet waits in pending.
class Utf16Decoder {
public:
    explicit Utf16Decoder(std::wstring& out) : m_out(out) {}

    void Unit(std::uint16_t unit)
    {
        if (m_pending != 0) {
            if (unit >= 0xDC00 && unit <= 0xDFFF) {
                const std::uint32_t code = 0x10000 + ((m_pending - 0xD800u) << 10) + (unit - 0xDC00u);
                m_out += static_cast<wchar_t>(code);
                m_pending = 0;
                return;
            }
            m_out += static_cast<wchar_t>(kReplacement);
            m_pending = 0;
        }
        if (unit >= 0xD800 && unit <= 0xDBFF)
            m_pending = unit;
        else if (IsSurrogate(unit))
            m_out += static_cast<wchar_t>(kReplacement);
        else
            m_out += static_cast<wchar_t>(unit);
    }

    void Finish()
    {
        if (m_pending != 0)
            m_out += static_cast<wchar_t>(kReplacement);
        m_pending = 0;
    }

private:
    std::wstring& m_out;
    std::uint16_t m_pending = 0;
};

}  // namespace

void ArchiveWriter::Bytes(const std::uint8_t* data, std::size_t size)
{
    while (size > 0) {
        if (m_used == m_buffer.size())
            FlushBuffer();
        const std::size_t chunk = std::min(size, m_buffer.size() - m_used);
        std::copy_n(data, chunk, m_buffer.begin() + static_cast<std::ptrdiff_t>(m_used));
        m_used += chunk;
        data += chunk;
        size -= chunk;
    }
}

void ArchiveWriter::Unsigned(std::uint64_t value, std::size_t size)
{
    std::array<std::uint8_t, 8> bytes{};
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
    Bytes(bytes.data(), size);
}

void ArchiveWriter::FlushBuffer()
{
    if (m_used > 0 && !m_failed && !m_sink.Write(std::span<const std::uint8_t>(m_buffer.data(), m_used)))
        m_failed = true;
    m_used = 0;
}

void ArchiveWriter::Word(std::uint16_t value)
{
    Unsigned(value, 2);
}

void ArchiveWriter::Int32(std::int32_t value)
{
    Unsigned(static_cast<std::uint32_t>(value), 4);
}

void ArchiveWriter::Double(double value)
{
    Unsigned(std::bit_cast<std::uint64_t>(value), 8);
}

void ArchiveWriter::String(const std::wstring& text)
{
    // Every character takes at least one unit: a text too long is known
    // before it is converted.
    const std::u16string units = text.size() > kMostTextUnits ? std::u16string() : Utf16(text);
    const std::size_t length = units.size();
    if (text.size() > kMostTextUnits || length > kMostTextUnits) {
        m_failed = true;
        return;
    }
    Unsigned(kLongLength, 1);
    Word(kWideTag);
    if (length < kLongLength) {
        Unsigned(length, 1);
    } else if (length < kWideTag) {
        Unsigned(kLongLength, 1);
        Word(static_cast<std::uint16_t>(length));
    } else {
        Unsigned(kLongLength, 1);
        Word(kLongerLength);
        Unsigned(length, 4);
    }
    for (const char16_t unit : units)
        Word(static_cast<std::uint16_t>(unit));
}

bool ArchiveWriter::Close()
{
    FlushBuffer();
    return !m_failed;
}

bool ArchiveReader::Fill()
{
    m_begin = 0;
    m_end = m_source.Read(std::span<std::uint8_t>(m_buffer.data(), m_buffer.size()));
    return m_end > 0;
}

bool ArchiveReader::Bytes(std::uint8_t* data, std::size_t size)
{
    while (size > 0) {
        if (m_begin == m_end && !Fill())
            return false;
        const std::size_t chunk = std::min(size, m_end - m_begin);
        std::copy_n(m_buffer.begin() + static_cast<std::ptrdiff_t>(m_begin), chunk, data);
        m_begin += chunk;
        data += chunk;
        size -= chunk;
    }
    return true;
}

bool ArchiveReader::Unsigned(std::uint64_t& value, std::size_t size)
{
    std::array<std::uint8_t, 8> bytes{};
    if (!Bytes(bytes.data(), size))
        return false;
    value = 0;
    for (std::size_t i = 0; i < size; ++i)
        value |= static_cast<std::uint64_t>(bytes[i]) << (8 * i);
    return true;
}

bool ArchiveReader::Word(std::uint16_t& value)
{
    std::uint64_t raw = 0;
    if (!Unsigned(raw, 2))
        return false;
    value = static_cast<std::uint16_t>(raw);
    return true;
}

bool ArchiveReader::Int32(std::int32_t& value)
{
    std::uint64_t raw = 0;
    if (!Unsigned(raw, 4))
        return false;
    value = static_cast<std::int32_t>(static_cast<std::uint32_t>(raw));
    return true;
}

bool ArchiveReader::Double(double& value)
{
    std::uint64_t raw = 0;
    if (!Unsigned(raw, 8))
        return false;
    value = std::bit_cast<double>(raw);
    return true;
}

bool ArchiveReader::String(std::wstring& text)
{
    // The length forms nest: each escape value announces the next wider one,
    // and the tag for UTF-16 text may stand in front of the first.
    bool wide = false;
    std::uint64_t length = 0;
    if (!Unsigned(length, 1))
        return false;
    if (length == kLongLength) {
        if (!Unsigned(length, 2))
            return false;
        if (length == kWideTag) {
            wide = true;
            if (!Unsigned(length, 1))
                return false;
            if (length == kLongLength && !Unsigned(length, 2))
                return false;
        }
        if (length == kLongerLength) {
            if (!Unsigned(length, 4))
                return false;
            if (length == kLongestLength && !Unsigned(length, 8))
                return false;
        }
    }

    const std::size_t unitSize = wide ? 2 : 1;
    if (length > kMostTextUnits)
        return false;
    const auto remaining = m_source.Remaining();
    if (remaining && length * unitSize > *remaining + (m_end - m_begin))
        return false;
    // Nor is a length within the limit trusted for an allocation: the text
    // grows only with bytes that are really there.
    std::wstring result;
    Utf16Decoder decoder(result);
    std::array<std::uint8_t, kArchiveBufferSize> chunk{};
    while (length > 0) {
        const std::size_t units = static_cast<std::size_t>(std::min<std::uint64_t>(length, chunk.size() / unitSize));
        if (!Bytes(chunk.data(), units * unitSize))
            return false;
        for (std::size_t i = 0; i < units; ++i) {
            if (wide)
                decoder.Unit(static_cast<std::uint16_t>(chunk[2 * i] | (chunk[2 * i + 1] << 8)));
            else
                result += static_cast<wchar_t>(chunk[i]);
        }
        length -= units;
    }
    decoder.Finish();
    text = std::move(result);
    return true;
}

}  // namespace rpn
