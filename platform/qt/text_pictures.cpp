#include "platform/qt/text_pictures.h"

#include <algorithm>
#include <cstring>

namespace rpn {

namespace {

namespace format = text_pictures_format;

std::uint32_t ReadU32(const std::uint8_t* at)
{
    return std::uint32_t{at[0]} | std::uint32_t{at[1]} << 8 | std::uint32_t{at[2]} << 16 | std::uint32_t{at[3]} << 24;
}

std::uint16_t ReadU16(const std::uint8_t* at)
{
    return static_cast<std::uint16_t>(at[0] | at[1] << 8);
}

std::int16_t ReadI16(const std::uint8_t* at)
{
    return static_cast<std::int16_t>(ReadU16(at));
}

// Each channel times a/255, rounded as the raster engine rounds it, so a
// glyph blended here has the very pixels the engine would give it.
QRgb ByteMultiply(QRgb x, std::uint32_t a)
{
    std::uint32_t t = (x & 0xff00ffU) * a;
    t = (t + ((t >> 8) & 0xff00ffU) + 0x800080U) >> 8;
    t &= 0xff00ffU;
    std::uint32_t u = ((x >> 8) & 0xff00ffU) * a;
    u = u + ((u >> 8) & 0xff00ffU) + 0x800080U;
    u &= 0xff00ff00U;
    return u | t;
}

// An opaque colour over a pixel at a glyph's coverage: source-over with the
// coverage as the constant alpha.
QRgb Blend(QRgb destination, QRgb colour, std::uint32_t coverage)
{
    if (coverage == 255)
        return colour;
    const QRgb source = ByteMultiply(colour, coverage);
    return source + ByteMultiply(destination, 255U - (source >> 24));
}

// Whether [offset, offset + length) lies inside a table of `size` bytes.
bool Inside(std::uint64_t offset, std::uint64_t length, std::uint64_t size)
{
    return offset <= size && length <= size - offset;
}

}  // namespace

TextPictures::TextPictures(QByteArrayView data)
{
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(data.data());
    const auto size = static_cast<std::uint64_t>(data.size());
    if (size < format::kHeaderBytes || std::memcmp(bytes, format::kMagic, sizeof format::kMagic) != 0)
        return;
    const std::uint32_t fontCount = ReadU32(bytes + 8);
    if (ReadU32(bytes + 12) != size ||
        !Inside(format::kHeaderBytes, std::uint64_t{fontCount} * format::kFontBytes, size))
        return;
    std::vector<Font> fonts;
    for (std::uint32_t index = 0; index < fontCount; ++index) {
        const std::uint8_t* entry = bytes + format::kHeaderBytes + std::size_t{index} * format::kFontBytes;
        Font font;
        font.m_height = static_cast<int>(ReadU32(entry));
        font.m_weight = static_cast<int>(ReadU32(entry + 4));
        font.m_scale = static_cast<int>(ReadU32(entry + 8));
        font.m_first = ReadU32(entry + 12);
        const std::uint32_t count = ReadU32(entry + 16);
        const std::uint32_t phaseCount = ReadU32(entry + 20);
        const char* name = reinterpret_cast<const char*>(entry + 24);
        font.m_faceName.assign(name, strnlen(name, format::kNameBytes));
        const std::uint8_t* offsets = entry + 24 + format::kNameBytes;
        const std::uint32_t advances = ReadU32(offsets);
        const std::uint32_t pairs = ReadU32(offsets + 4);
        const std::uint32_t phases = ReadU32(offsets + 8);
        const std::uint32_t glyphs = ReadU32(offsets + 12);
        const std::uint32_t glyphCount = ReadU32(offsets + 16);
        constexpr std::uint32_t kMostCharacters = 0x10000;
        if (count > kMostCharacters || font.m_scale < 1 || (phaseCount != 1 && phaseCount != format::kPhases) ||
            !Inside(advances, std::uint64_t{count} * 4, size) ||
            (pairs != 0 && !Inside(pairs, std::uint64_t{count} * count, size)) ||
            !Inside(phases, std::uint64_t{count} * (2 + phaseCount), size) ||
            !Inside(glyphs, std::uint64_t{glyphCount} * format::kGlyphBytes, size))
            return;
        font.m_count = static_cast<int>(count);
        font.m_advances = bytes + advances;
        font.m_pairs = pairs != 0 ? bytes + pairs : nullptr;
        font.m_phases = bytes + phases;
        font.m_phaseCount = static_cast<int>(phaseCount);
        font.m_glyphs = bytes + glyphs;
        font.m_glyphCount = glyphCount;
        font.m_data = bytes;
        font.m_size = size;
        fonts.push_back(std::move(font));
    }
    m_fonts = std::move(fonts);
}

const TextPictures::Font* TextPictures::Find(const FontDescription& description, double scale) const
{
    for (const Font& font : m_fonts) {
        if (font.m_height != description.height || font.m_weight != description.weight ||
            static_cast<double>(font.m_scale) != scale || font.m_faceName.size() != description.faceName.size())
            continue;
        if (std::equal(
                font.m_faceName.begin(), font.m_faceName.end(), description.faceName.begin(),
                [](char a, wchar_t b) { return static_cast<unsigned char>(a) == static_cast<std::uint32_t>(b); }))
            return &font;
    }
    return nullptr;
}

std::int32_t TextPictures::Font::Advance64(int index) const
{
    return static_cast<std::int32_t>(ReadU32(m_advances + std::size_t(index) * 4));
}

std::optional<TextPictures::Font::Glyph> TextPictures::Font::GlyphAt(int index, int phase) const
{
    if (phase >= m_phaseCount)
        return std::nullopt;
    const std::uint8_t* character = m_phases + std::size_t(index) * std::size_t(2 + m_phaseCount);
    const std::uint8_t place = character[2 + phase];
    const unsigned local = place & format::kNoLocalGlyph;
    const std::uint32_t number = std::uint32_t{ReadU16(character)} + local;
    if (local == format::kNoLocalGlyph || number >= m_glyphCount)
        return std::nullopt;
    const std::uint8_t* record = m_glyphs + std::size_t{number} * format::kGlyphBytes;
    Glyph glyph;
    glyph.dx = ReadI16(record) + (place >> format::kLocalGlyphBits);
    glyph.dy = ReadI16(record + 2);
    glyph.width = ReadU16(record + 4);
    glyph.height = ReadU16(record + 6);
    const std::uint32_t coverage = ReadU32(record + 8);
    if (!Inside(coverage, std::uint64_t(glyph.width) * std::uint64_t(glyph.height), m_size))
        return std::nullopt;
    glyph.coverage = m_data + coverage;
    return glyph;
}

std::optional<int> TextPictures::Font::Kerning(int first, int second) const
{
    if (m_pairs == nullptr)
        return std::nullopt;
    const auto kerning =
        static_cast<std::int8_t>(m_pairs[std::size_t(first) * std::size_t(m_count) + std::size_t(second)]);
    if (kerning == format::kNotApart)
        return std::nullopt;
    return kerning;
}

template <typename Place>
std::optional<std::int64_t> TextPictures::Font::Walk(std::wstring_view text, Place place) const
{
    // Far past any text the display window shows; a longer one goes to the font.
    constexpr std::size_t kLongest = 256;
    if (text.size() > kLongest)
        return std::nullopt;
    std::int64_t position = 0;
    int previous = -1;
    for (const wchar_t character : text) {
        const std::uint32_t code = static_cast<std::uint32_t>(character);
        if (code < m_first || code - m_first >= static_cast<std::uint32_t>(m_count))
            return std::nullopt;
        const int index = static_cast<int>(code - m_first);
        if (previous >= 0) {
            const std::optional<int> kerning = Kerning(previous, index);
            if (!kerning)
                return std::nullopt;
            position += *kerning;
        }
        const std::optional<Glyph> glyph =
            position < 0 ? std::nullopt : GlyphAt(index, static_cast<int>(position % format::kPhases));
        if (!glyph)
            return std::nullopt;
        place(*glyph, position);
        position += Advance64(index);
        previous = index;
    }
    return position;
}

std::optional<double> TextPictures::Font::Advance(std::wstring_view text) const
{
    const std::optional<std::int64_t> end = Walk(text, [](const Glyph&, std::int64_t) {});
    if (!end)
        return std::nullopt;
    return static_cast<double>(*end) / format::kPhases;
}

void TextPictures::Font::Draw(QImage& target, const QRect& deviceClip, int x, int y, std::wstring_view text,
                              QRgb colour) const
{
    const QRect clip = deviceClip.intersected(target.rect());
    if (clip.isEmpty() || target.format() != QImage::Format_RGB32)
        return;
    colour |= 0xff000000U;
    Walk(text, [&](const Glyph& glyph, std::int64_t position) {
        const int left = (x + static_cast<int>(position / format::kPhases)) * m_scale + glyph.dx;
        const int top = y * m_scale + glyph.dy;
        const QRect drawn = QRect(left, top, glyph.width, glyph.height).intersected(clip);
        for (int row = drawn.top(); row <= drawn.bottom(); ++row) {
            auto* pixels = reinterpret_cast<QRgb*>(target.scanLine(row));
            const std::uint8_t* coverage = glyph.coverage + std::size_t(row - top) * std::size_t(glyph.width);
            for (int column = drawn.left(); column <= drawn.right(); ++column) {
                const std::uint32_t alpha = coverage[column - left];
                if (alpha != 0)
                    pixels[column] = Blend(pixels[column], colour, alpha);
            }
        }
    });
}

}  // namespace rpn
