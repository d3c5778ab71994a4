#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/byte_stream.h"

namespace rpn {

// The state file's binary forms: little-endian 16-bit words, 32-bit integers
// and IEEE doubles, and the handheld's self-delimiting string record, through
// a 4096-byte buffer in each direction.
//
// String record, as the handheld writes it: byte 0xFF and word 0xFFFE (the
// tag for UTF-16 text), then the length in code units (one byte below 255,
// else byte 0xFF and a 16-bit length below 0xFFFE, else also word 0xFFFF and a
// 32-bit length), then the UTF-16LE code units. Without the tag the record is
// 8-bit text (length, then one byte per character), read as Latin-1.
//
// Texts here hold code points; those above U+FFFF travel as surrogate pairs.
// A code point that UTF-16 cannot carry (a lone surrogate, anything past
// U+10FFFF) is written as U+FFFD, and a lone surrogate unit in a file reads
// as U+FFFD.
//
// A text is at most kMostTextUnits UTF-16 units long both ways: a longer
// length in a file, or one longer than the bytes the source still holds,
// fails the read before anything is allocated for it, and a longer text
// fails the write (the writer's Close reports it).
inline constexpr std::size_t kArchiveBufferSize = 4096;
inline constexpr std::size_t kMostTextUnits = 4096;

class ArchiveWriter {
public:
    explicit ArchiveWriter(ByteSink& sink) : m_sink(sink) {}

    void Word(std::uint16_t value);
    void Int32(std::int32_t value);
    void Double(double value);
    void String(const std::wstring& text);
    // Writes out the buffer. False when any write so far failed.
    bool Close();

private:
    void Bytes(const std::uint8_t* data, std::size_t size);
    void Unsigned(std::uint64_t value, std::size_t size);
    void FlushBuffer();

    ByteSink& m_sink;
    std::array<std::uint8_t, kArchiveBufferSize> m_buffer{};
    std::size_t m_used = 0;
    bool m_failed = false;
};

// Every read returns false once the source ran out; the value is then left
// unspecified and the caller gives up on the record.
class ArchiveReader {
public:
    explicit ArchiveReader(ByteSource& source) : m_source(source) {}

    bool Word(std::uint16_t& value);
    bool Int32(std::int32_t& value);
    bool Double(double& value);
    bool String(std::wstring& text);

private:
    bool Bytes(std::uint8_t* data, std::size_t size);
    bool Unsigned(std::uint64_t& value, std::size_t size);
    bool Fill();

    ByteSource& m_source;
    std::array<std::uint8_t, kArchiveBufferSize> m_buffer{};
    std::size_t m_begin = 0;
    std::size_t m_end = 0;
};

}  // namespace rpn
