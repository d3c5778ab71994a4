#include "platform/qt/text_pictures.h"

#include <QFontInfo>
#include <QGuiApplication>
#include <QImage>
#include <QSaveFile>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "display/render.h"
#include "platform/qt/fonts.h"
#include "platform/qt/surface.h"

// Draws the display's glyphs through the display fonts, exactly as the
// program's drawing surface draws them, into the table the program reads
// (platform/text_pictures.h): printable ASCII in each display font at scales
// 1 and 2, each glyph at every 1/64 pixel position a text can place it at.
// A character or pair the fonts do not draw side by side is left out, and
// the program draws texts holding it from the font.
//
//   text_pictures FILE
namespace {

namespace format = rpn::text_pictures_format;

constexpr char32_t kFirst = 0x20;
constexpr int kCount = 0x7F - 0x20;
// Room around a glyph for the parts that reach past its cell.
constexpr int kMargin = 16;

struct Coverage {
    int dx = 0;
    int dy = 0;
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bytes;
    // The same picture: where it lands aside.
    bool SamePicture(const Coverage& other) const
    {
        return std::tie(dy, width, height, bytes) == std::tie(other.dy, other.width, other.height, other.bytes);
    }
};

// What a font's layout gives each character and pair, the same at every
// scale: the characters drawn as one glyph of their own, their advances and
// each pair's kerning (left empty for a font drawn at whole pixels only,
// which never sets two pictures side by side).
struct FontLayout {
    const rpn::DisplayFont* font = nullptr;
    std::vector<bool> pictured = std::vector<bool>(kCount, false);
    std::vector<std::int32_t> advances = std::vector<std::int32_t>(kCount, 0);
    std::vector<std::int8_t> pairs;
};

// The pictures of a font at one scale.
struct Table {
    const FontLayout* layout = nullptr;
    int scale = 1;
    int phaseCount = 1;
    // Per character its first glyph and a byte per position.
    std::vector<std::uint16_t> firstGlyph = std::vector<std::uint16_t>(kCount, 0);
    std::vector<std::uint8_t> places;
    std::vector<Coverage> glyphs;
};

std::wstring Text(std::initializer_list<int> indexes)
{
    std::wstring text;
    for (const int index : indexes)
        text += static_cast<wchar_t>(kFirst + static_cast<char32_t>(index));
    return text;
}

// The 1/64 pixels of a layout length, when it is a whole number of them.
std::optional<std::int32_t> Sixtyfourths(qreal length)
{
    const qreal scaled = length * format::kPhases;
    if (std::abs(scaled - std::round(scaled)) > 1e-6)
        return std::nullopt;
    return static_cast<std::int32_t>(std::lround(scaled));
}

// One glyph at face point (kMargin + phase/64, kMargin), white on black: the
// pixels are the coverage the engine blends with.
std::optional<Coverage> DrawnGlyph(const rpn::FontDescription& font, int scale, wchar_t character, int phase)
{
    const int side = (2 * kMargin + 2 * font.height) * scale;
    QImage canvas(side, side, QImage::Format_RGB32);
    canvas.fill(Qt::black);
    {
        rpn::Surface surface(canvas, scale);
        surface.SetTextColor(qRgb(255, 255, 255));
        surface.SelectFont(font);
        surface.DrawGlyphs(QPointF(kMargin + phase / qreal(format::kPhases), kMargin), std::wstring(1, character));
    }
    QRect box;
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x) {
            const QRgb pixel = canvas.pixel(x, y);
            if (qRed(pixel) != qGreen(pixel) || qGreen(pixel) != qBlue(pixel))
                return std::nullopt;  // coloured edges: not a coverage
            if (qRed(pixel) != 0)
                box |= QRect(x, y, 1, 1);
        }
    Coverage coverage;
    if (box.isEmpty())
        return coverage;
    if (box.left() == 0 || box.top() == 0 || box.right() == canvas.width() - 1 || box.bottom() == canvas.height() - 1)
        return std::nullopt;  // may have been cut by the canvas
    coverage.dx = box.left() - kMargin * scale;
    coverage.dy = box.top() - kMargin * scale;
    coverage.width = box.width();
    coverage.height = box.height();
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            coverage.bytes.push_back(static_cast<std::uint8_t>(qRed(canvas.pixel(x, y))));
    return coverage;
}

FontLayout LayOut(const rpn::DisplayFont& displayFont)
{
    FontLayout layout;
    layout.font = &displayFont;
    const rpn::FontDescription& font = displayFont.description;
    std::vector<quint32> glyphIndex(kCount, 0);
    for (int index = 0; index < kCount; ++index) {
        const rpn::ShapedText shaped = rpn::ShapeText(font, Text({index}));
        const std::optional<std::int32_t> advance = Sixtyfourths(shaped.advance);
        if (shaped.runs.size() != 1 || shaped.runs[0].glyphIndexes().size() != 1 || !advance ||
            shaped.runs[0].positions()[0].x() != 0)
            continue;
        glyphIndex[std::size_t(index)] = shaped.runs[0].glyphIndexes()[0];
        layout.advances[std::size_t(index)] = *advance;
        layout.pictured[std::size_t(index)] = true;
    }
    if (displayFont.wholePixelsOnly)
        return layout;
    // A pair is drawn apart when the font lays it out as the two glyphs alone,
    // the second one the first's advance and a kerning after the first, in
    // cells as wide as both with the same kerning.
    layout.pairs.assign(std::size_t{kCount} * kCount, format::kNotApart);
    for (int first = 0; first < kCount; ++first)
        for (int second = 0; second < kCount; ++second) {
            if (!layout.pictured[std::size_t(first)] || !layout.pictured[std::size_t(second)])
                continue;
            const rpn::ShapedText shaped = rpn::ShapeText(font, Text({first, second}));
            // A ligature gives one glyph, and a glyph from another font a
            // second run: neither is two pictures side by side.
            if (shaped.runs.size() != 1 || shaped.runs[0].positions().size() != 2)
                continue;
            const QGlyphRun& run = shaped.runs[0];
            const qreal baseline = rpn::ShapeText(font, Text({first})).runs[0].positions()[0].y();
            const std::optional<std::int32_t> second64 = Sixtyfourths(run.positions()[1].x());
            const std::optional<std::int32_t> advance64 = Sixtyfourths(shaped.advance);
            if (!second64 || !advance64)
                continue;
            const std::int32_t kerning = *second64 - layout.advances[std::size_t(first)];
            const bool apart =
                run.glyphIndexes() == QList<quint32>{glyphIndex[std::size_t(first)], glyphIndex[std::size_t(second)]} &&
                run.positions()[0] == QPointF(0, baseline) && run.positions()[1].y() == baseline &&
                *advance64 == layout.advances[std::size_t(first)] + layout.advances[std::size_t(second)] + kerning &&
                kerning > format::kNotApart && kerning <= 127;
            if (apart)
                layout.pairs[std::size_t(first) * kCount + std::size_t(second)] = static_cast<std::int8_t>(kerning);
        }
    return layout;
}

void DrawTable(Table& table)
{
    const rpn::FontDescription& font = table.layout->font->description;
    const std::vector<bool>& pictured = table.layout->pictured;
    table.phaseCount = table.layout->font->wholePixelsOnly ? 1 : format::kPhases;
    table.places.assign(std::size_t{kCount} * std::size_t(table.phaseCount), format::kNoLocalGlyph);
    constexpr int kMostShift = (1 << (8 - format::kLocalGlyphBits)) - 1;
    for (int index = 0; index < kCount; ++index) {
        table.firstGlyph[std::size_t(index)] = static_cast<std::uint16_t>(table.glyphs.size());
        if (!pictured[std::size_t(index)])
            continue;
        const std::size_t first = table.glyphs.size();
        for (int phase = 0; phase < table.phaseCount; ++phase) {
            const std::optional<Coverage> coverage =
                DrawnGlyph(font, table.scale, static_cast<wchar_t>(kFirst + char32_t(index)), phase);
            if (!coverage)
                continue;
            // A picture this character already has, landing at most a few
            // pixels further right, is the same glyph.
            std::size_t local = first;
            while (local < table.glyphs.size() &&
                   !(table.glyphs[local].SamePicture(*coverage) && coverage->dx >= table.glyphs[local].dx &&
                     coverage->dx - table.glyphs[local].dx <= kMostShift))
                ++local;
            if (local - first >= format::kNoLocalGlyph)
                continue;
            if (local == table.glyphs.size())
                table.glyphs.push_back(*coverage);
            const int shift = coverage->dx - table.glyphs[local].dx;
            table.places[std::size_t(index) * std::size_t(table.phaseCount) + std::size_t(phase)] =
                static_cast<std::uint8_t>((local - first) | unsigned(shift) << format::kLocalGlyphBits);
        }
    }
}

void PutU32(std::string& out, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out += static_cast<char>(value >> shift & 0xFF);
}

void PutU16(std::string& out, std::uint32_t value)
{
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>(value >> 8 & 0xFF);
}

std::string Serialised(const std::vector<Table>& tables)
{
    // Header and font records first, then each table's arrays and glyphs.
    std::string body;
    std::string records;
    const std::uint32_t bodyStart =
        format::kHeaderBytes + static_cast<std::uint32_t>(tables.size()) * format::kFontBytes;
    const auto offset = [&] { return bodyStart + static_cast<std::uint32_t>(body.size()); };
    std::map<const FontLayout*, std::uint32_t> pairsAt;
    for (const Table& table : tables) {
        const FontLayout& layout = *table.layout;
        const rpn::FontDescription& font = layout.font->description;
        PutU32(records, static_cast<std::uint32_t>(font.height));
        PutU32(records, static_cast<std::uint32_t>(font.weight));
        PutU32(records, static_cast<std::uint32_t>(table.scale));
        PutU32(records, kFirst);
        PutU32(records, kCount);
        PutU32(records, static_cast<std::uint32_t>(table.phaseCount));
        std::string name(format::kNameBytes, '\0');
        for (std::size_t index = 0; index < font.faceName.size() && index < name.size(); ++index)
            name[index] = static_cast<char>(font.faceName[index]);
        records += name;
        PutU32(records, offset());
        for (const std::int32_t advance : layout.advances)
            PutU32(body, static_cast<std::uint32_t>(advance));
        // The kerning is written once per font, for both scales.
        if (layout.pairs.empty()) {
            PutU32(records, 0);
        } else if (const auto written = pairsAt.find(&layout); written != pairsAt.end()) {
            PutU32(records, written->second);
        } else {
            pairsAt[&layout] = offset();
            PutU32(records, offset());
            body.append(reinterpret_cast<const char*>(layout.pairs.data()), layout.pairs.size());
        }
        PutU32(records, offset());
        for (int index = 0; index < kCount; ++index) {
            PutU16(body, table.firstGlyph[std::size_t(index)]);
            const auto places = table.places.begin() + std::ptrdiff_t(index) * table.phaseCount;
            body.append(places, places + table.phaseCount);
        }
        std::string glyphRecords;
        std::string coverage;
        const std::uint32_t glyphStart = offset();
        const std::uint32_t coverageStart =
            glyphStart + static_cast<std::uint32_t>(table.glyphs.size()) * format::kGlyphBytes;
        for (const Coverage& glyph : table.glyphs) {
            PutU16(glyphRecords, static_cast<std::uint16_t>(glyph.dx));
            PutU16(glyphRecords, static_cast<std::uint16_t>(glyph.dy));
            PutU16(glyphRecords, static_cast<std::uint32_t>(glyph.width));
            PutU16(glyphRecords, static_cast<std::uint32_t>(glyph.height));
            PutU32(glyphRecords, coverageStart + static_cast<std::uint32_t>(coverage.size()));
            coverage.append(reinterpret_cast<const char*>(glyph.bytes.data()), glyph.bytes.size());
        }
        PutU32(records, glyphStart);
        PutU32(records, static_cast<std::uint32_t>(table.glyphs.size()));
        body += glyphRecords;
        body += coverage;
    }
    std::string out(format::kMagic, sizeof format::kMagic);
    PutU32(out, static_cast<std::uint32_t>(tables.size()));
    PutU32(out, bodyStart + static_cast<std::uint32_t>(body.size()));
    return out + records + body;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: text_pictures FILE\n");
        return 2;
    }
    // A build has no display; the fonts and the raster engine are the same.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    rpn::InstallFontSubstitutions();
    // Pictures of a fallback font would pass for the display's own.
    for (const rpn::DisplayFont& font : rpn::DisplayFonts()) {
        const QString wanted = QFont::substitute(QString::fromStdWString(font.description.faceName));
        const QString found = QFontInfo(rpn::FontFor(font.description)).family();
        if (found.compare(wanted, Qt::CaseInsensitive) != 0) {
            std::fprintf(stderr, "text_pictures: the display font %s is not installed (found %s)\n", qPrintable(wanted),
                         qPrintable(found));
            return 1;
        }
    }
    std::vector<FontLayout> layouts;
    for (const rpn::DisplayFont& font : rpn::DisplayFonts())
        layouts.push_back(LayOut(font));
    std::vector<Table> tables;
    // Scale by scale: a start reads the few glyphs it draws from one end.
    for (const int scale : {1, 2})
        for (const FontLayout& layout : layouts) {
            Table table;
            table.layout = &layout;
            table.scale = scale;
            DrawTable(table);
            tables.push_back(std::move(table));
        }
    const std::string data = Serialised(tables);
    QSaveFile output(QString::fromLocal8Bit(argv[1]));
    if (!output.open(QIODevice::WriteOnly) || output.write(data.data(), qint64(data.size())) != qint64(data.size()) ||
        !output.commit()) {
        std::fprintf(stderr, "text_pictures: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
