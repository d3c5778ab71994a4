#include "platform/qt/text_pictures.h"

#include <gtest/gtest.h>

#include <QResource>
#include <random>

#include "display/render.h"
#include "engine/calc_state.h"
#include "face/face_pictures.h"
#include "testsupport/keystrokes.h"

namespace rpn::test {
namespace {

const QRgb kOutside = qRgb(200, 40, 40);

std::shared_ptr<const TextPictures> BuiltPictures()
{
    static const std::shared_ptr<const TextPictures> pictures = LoadFacePicturesLazily().text;
    return pictures;
}

// A text in a font at a scale, from the pictures or from the font, over a
// display colour, with the display window's clip.
QImage Drawn(const TextPictures* pictures, const FontDescription& font, int scale, const std::wstring& text, int x,
             QRgb colour, QRgb background)
{
    QImage image(240 * scale, 80 * scale, QImage::Format_RGB32);
    image.fill(kOutside);
    Surface surface(image, scale, pictures);
    surface.ClipTo(QRect(17, 0, 206, 72));
    surface.SetTextColor(colour);
    surface.SetBackgroundColor(background);
    surface.SelectFont(font);
    surface.TextOut(x, 7, text);
    return image;
}

std::wstring RandomText(std::mt19937& random)
{
    std::uniform_int_distribution<int> length(1, 14);
    std::uniform_int_distribution<int> character(0x20, 0x7E);
    std::wstring text(static_cast<std::size_t>(length(random)), L' ');
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(character(random));
    return text;
}

TEST(TextPictures, DrawTheVeryPixelsTheFontsDraw)
{
    const std::shared_ptr<const TextPictures> pictures = BuiltPictures();
    ASSERT_FALSE(pictures->Empty()) << "the build wrote no glyph pictures";
    std::vector<std::wstring> texts{L" 1.234500 03", L"-0.0000001", L"123,456,789.50",
                                    L"SCI.6",        L"FIX.2",      L"ENG.3",
                                    L"DEG",          L"RAD",        L"GRD",
                                    L"HYP",          L"STO",        L"RCL",
                                    L"ERROR: NaN",   L"f",          L"-9.999999-99"};
    const std::size_t alwaysPictured = texts.size();
    for (wchar_t c = 0x20; c < 0x7F; ++c)
        texts.emplace_back(1, c);
    std::mt19937 random(20261208);
    for (int index = 0; index < 60; ++index)
        texts.push_back(RandomText(random));
    // Kerned pairs, and a character past ASCII, which is left to the font.
    texts.insert(texts.end(), {L"AVA", L"To", L"1\u00b02"});
    // Black on a dim and a bright display, grey on the bright one.
    const std::pair<QRgb, QRgb> colours[] = {{qRgb(0, 0, 0), qRgb(99, 143, 137)},
                                             {qRgb(0, 0, 0), qRgb(180, 240, 232)},
                                             {qRgb(128, 128, 128), qRgb(180, 240, 232)}};
    for (const DisplayFont& font : DisplayFonts()) {
        for (const int scale : {1, 2}) {
            const TextPictures::Font* table = pictures->Find(font.description, scale);
            ASSERT_NE(table, nullptr) << font.description.height << " px at scale " << scale;
            for (std::size_t index = 0; index < texts.size(); ++index) {
                const std::wstring& text = texts[index];
                if (index < alwaysPictured && (!font.wholePixelsOnly || text.size() == 1)) {
                    EXPECT_TRUE(table->Advance(text).has_value()) << QString::fromStdWString(text).toStdString();
                }
                // Whole inside the window, and cut by its right edge.
                for (const int x : {21, 200})
                    for (const auto& [colour, background] : colours)
                        ASSERT_EQ(Drawn(pictures.get(), font.description, scale, text, x, colour, background),
                                  Drawn(nullptr, font.description, scale, text, x, colour, background))
                            << "'" << QString::fromStdWString(text).toStdString() << "' in " << font.description.height
                            << " px at scale " << scale << ", x " << x;
            }
        }
    }
    EXPECT_EQ(pictures->Find(DisplayFonts()[1].description, 1.5), nullptr) << "other scales draw from the font";
}

TEST(TextPictures, TheDisplayOfEveryKindOfStateComesOutTheSame)
{
    const std::shared_ptr<const TextPictures> pictures = BuiltPictures();
    const char* const sequences[] = {"",
                                     "1 2 3 4 5 6 7 ENTER 8 9 /",
                                     "FIX 2 1 2 3 4 5 6 7 . 8 9 ENTER CHS",
                                     "ENG 3 2 EEX 5 0 CHS",
                                     "0 1/X",
                                     "F",
                                     "HYP",
                                     "STO",
                                     "RAD 3 SIN 2 Y^X",
                                     "GRD 1 EEX 9 9 ENTER * *"};
    for (const char* sequence : sequences) {
        const CalcState state = AfterKeys(sequence);
        for (const int scale : {1, 2}) {
            QImage fromPictures(240 * scale, 268 * scale, QImage::Format_RGB32);
            fromPictures.fill(qRgb(180, 240, 232));
            QImage fromFonts = fromPictures;
            {
                Surface surface(fromPictures, scale, pictures.get());
                DrawDisplay(state, surface);
            }
            {
                Surface surface(fromFonts, scale);
                DrawDisplay(state, surface);
            }
            EXPECT_EQ(fromPictures, fromFonts) << "after '" << sequence << "' at scale " << scale;
        }
    }
}

TEST(TextPictures, ADamagedTableGivesNoPicturesOrLeavesTheTextToTheFont)
{
    const QResource resource(QStringLiteral(":/display_text.bin"));
    ASSERT_TRUE(resource.isValid());
    const QByteArray whole(reinterpret_cast<const char*>(resource.data()), resource.size());
    EXPECT_FALSE(TextPictures(whole).Empty());
    for (const qsizetype length :
         {qsizetype{0}, qsizetype{8}, qsizetype{16}, qsizetype{76}, whole.size() / 2, whole.size() - 1})
        EXPECT_TRUE(TextPictures(whole.first(length)).Empty()) << length << " bytes";
    QByteArray wrongMagic = whole;
    wrongMagic[7] = '9';
    EXPECT_TRUE(TextPictures(wrongMagic).Empty());
    // Each offset and count of the first font pointed past the end.
    for (const int field : {16, 20, 40, 44, 48, 52, 56}) {
        QByteArray damaged = whole;
        for (int byte = 0; byte < 4; ++byte)
            damaged[16 + field + byte] = char(0xFF);
        EXPECT_TRUE(TextPictures(damaged).Empty()) << "field at " << field;
    }
    // Every glyph record of the first font (the main line's at scale 1) sent
    // past the end: its texts are left to the font, and come out as before.
    QByteArray damaged = whole;
    const auto read32 = [&damaged](int at) {
        std::uint32_t value = 0;
        for (int byte = 3; byte >= 0; --byte)
            value = value << 8 | static_cast<std::uint8_t>(damaged[at + byte]);
        return value;
    };
    const std::uint32_t glyphs = read32(16 + 52);
    for (std::uint32_t glyph = 0; glyph < read32(16 + 56); ++glyph)
        for (int byte = 0; byte < 4; ++byte)
            damaged[qsizetype(glyphs + glyph * 12 + 8) + byte] = char(0xFF);
    const TextPictures pictures(damaged);
    const DisplayFont& main = DisplayFonts()[0];
    ASSERT_NE(pictures.Find(main.description, 1), nullptr);
    EXPECT_FALSE(pictures.Find(main.description, 1)->Advance(L"7").has_value());
    EXPECT_EQ(Drawn(&pictures, main.description, 1, L"7", 21, qRgb(0, 0, 0), qRgb(180, 240, 232)),
              Drawn(nullptr, main.description, 1, L"7", 21, qRgb(0, 0, 0), qRgb(180, 240, 232)));
}

}  // namespace
}  // namespace rpn::test
