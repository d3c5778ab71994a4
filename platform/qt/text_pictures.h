#pragma once

#include <QByteArrayView>
#include <QImage>
#include <QRect>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/font_description.h"

namespace rpn {

// The display's glyphs as the build drew them through the display fonts, at
// the whole scales a face is drawn at: for each character its width and its
// coverage at each quarter-pixel position the font can place it at, and the
// pairs of characters that the font draws other than side by side (kerning,
// ligatures). A text drawn from them has the same pixels as the font would
// draw; the fonts themselves are then never loaded. A text with a character
// or a pair the pictures lack is left to the font.
//
// The table is read in place from the program's resources.
class TextPictures {
public:
    // The pictures of one font at one scale.
    class Font {
    public:
        // The width of the text's cells in face pixels, or nothing when the
        // pictures cannot draw it.
        std::optional<double> Advance(std::wstring_view text) const;
        // Draws a text Advance accepted, its cells' top left at face point
        // (x, y), in `colour` over what is there, within `deviceClip` (in the
        // target's pixels).
        void Draw(QImage& target, const QRect& deviceClip, int x, int y, std::wstring_view text, QRgb colour) const;

    private:
        friend class TextPictures;
        struct Glyph {
            int dx = 0;
            int dy = 0;
            int width = 0;
            int height = 0;
            const std::uint8_t* coverage = nullptr;
        };
        int m_height = 0;
        int m_weight = 0;
        int m_scale = 1;
        std::string m_faceName;
        std::uint32_t m_first = 0;
        int m_count = 0;
        const std::uint8_t* m_advances = nullptr;  // int32 per character, 1/64 face pixel
        const std::uint8_t* m_pairs = nullptr;     // int8 kerning per ordered pair, 1/64 face pixel, or null
        const std::uint8_t* m_phases = nullptr;    // per character: its first glyph, a byte per position
        int m_phaseCount = 1;
        const std::uint8_t* m_glyphs = nullptr;
        std::uint32_t m_glyphCount = 0;
        // The whole table, against which a glyph's coverage is checked.
        const std::uint8_t* m_data = nullptr;
        std::uint64_t m_size = 0;

        std::int32_t Advance64(int index) const;
        // A glyph is read where it lies, when a text needs it: a start
        // touches only the few it draws. Nothing for a glyph the table lacks
        // or whose record does not fit the table.
        std::optional<Glyph> GlyphAt(int index, int phase) const;
        // The kerning between two characters, or nothing when the font does
        // not draw them as two glyphs.
        std::optional<int> Kerning(int first, int second) const;
        // Lays a text out glyph by glyph, handing each to `place` with its
        // position in 1/64 face pixel; the end position, or nothing when a
        // character, pair or position is not pictured.
        template <typename Place>
        std::optional<std::int64_t> Walk(std::wstring_view text, Place place) const;
    };

    // No pictures: every text goes to the fonts.
    TextPictures() = default;
    // The table the build wrote. A table cut short or with a font record
    // that does not fit gives no pictures at all; a damaged glyph record
    // leaves the texts that need it to the font.
    explicit TextPictures(QByteArrayView data);

    // The pictures of a font at a scale, when the table has them.
    const Font* Find(const FontDescription& description, double scale) const;
    bool Empty() const { return m_fonts.empty(); }

private:
    std::vector<Font> m_fonts;
};

// The layout of the table, shared with the build tool that writes it. All
// numbers are little-endian; offsets count from the table's first byte.
namespace text_pictures_format {
inline constexpr char kMagic[8] = {'R', 'P', 'N', 'T', 'X', 'T', '0', '1'};
inline constexpr int kPhases = 64;  // 1/64 face pixel, the layout's unit
inline constexpr std::int8_t kNotApart = -128;
// A position's byte: the glyph among the character's own (low bits; all
// set for none) and how many device pixels right of the glyph's place it
// lands (high bits), since a glyph a pixel further on is the same picture.
inline constexpr int kLocalGlyphBits = 5;
inline constexpr std::uint8_t kNoLocalGlyph = (1U << kLocalGlyphBits) - 1;
inline constexpr int kNameBytes = 16;
// magic, u32 font count, u32 size of the whole table, then per font: u32
// height, weight, scale, first character, character count, positions per
// character (1: whole pixels only, or 64); the name (ASCII, zero-padded); u32
// offsets of the advances (i32 each), the pairs' kerning (i8 each; 0 for a
// font drawn at whole pixels only, which has none), the positions (per
// character a u16 first glyph and a byte per position) and the glyphs; u32
// glyph count. A glyph: i16 dx, i16 dy, u16 width, u16 height, u32 offset of
// its coverage bytes, row after row.
inline constexpr int kHeaderBytes = 16;
inline constexpr int kFontBytes = 6 * 4 + kNameBytes + 5 * 4;
inline constexpr int kGlyphBytes = 12;
}  // namespace text_pictures_format

}  // namespace rpn
