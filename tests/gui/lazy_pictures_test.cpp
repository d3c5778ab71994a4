#include <gtest/gtest.h>

#include <QResource>
#include <QTest>
#include <utility>

#include "display/format.h"
#include "face/brightness.h"
#include "face/command_ids.h"
#include "face/face_pictures.h"
#include "face/rpn_view.h"
#include "keypad/keypad.h"
#include "platform/qt/sound.h"

namespace rpn::test {
namespace {

class StateDocument final : public ViewDocument {
public:
    StateDocument()
    {
        state = MakeResetState();
        UpdateDisplay(state);
    }
    CalcState& State() override { return state; }
    void DispatchKey() override {}
    void KeyboardKey(int) override {}

    CalcState state;
};

class SilentClick final : public ClickSound {
public:
    void Play() override {}
};

// Lazy pictures whose reader counts its calls.
struct CountedPictures {
    CountedPictures()
    {
        pictures = LoadFacePictures();
        auto readLarge = pictures.readLarge;
        pictures.readLarge = [this, readLarge] {
            ++largeReads;
            return readLarge();
        };
    }
    FacePictures pictures;
    int largeReads = 0;
};

// The pictures read up front: the faces from the committed PNGs the build
// unpacks, the large pair from the program's resources.
FacePictures EagerPictures()
{
    FacePictures pictures;
    pictures.normal = QImage(QStringLiteral(RPN_SOURCE_DIR "/resources/face_normal.png"));
    pictures.pressed = QImage(QStringLiteral(RPN_SOURCE_DIR "/resources/face_pressed.png"));
    pictures.normalLarge = QImage(QStringLiteral(":/face139@2x.png"));
    pictures.pressedLarge = QImage(QStringLiteral(":/face141@2x.png"));
    return pictures;
}

TEST(LazyFacePictures, TheUnpackedFacesAreThePicturesAndTheLargePairIsLeftToItsReader)
{
    const FacePictures eager = EagerPictures();
    const FacePictures lazy = LoadFacePictures();
    // The faces come unpacked by the build, already in the face's format.
    for (const auto& [unpacked, png] : {std::pair{lazy.normal, eager.normal}, {lazy.pressed, eager.pressed}}) {
        EXPECT_EQ(unpacked.format(), kFacePixelFormat);
        EXPECT_EQ(unpacked, png.convertToFormat(kFacePixelFormat));
    }
    EXPECT_TRUE(lazy.normalLarge.isNull());
    ASSERT_TRUE(lazy.readLarge);
    const auto [normalLarge, pressedLarge] = lazy.readLarge();
    EXPECT_EQ(normalLarge, eager.normalLarge.convertToFormat(normalLarge.format()));
    EXPECT_EQ(pressedLarge, eager.pressedLarge.convertToFormat(pressedLarge.format()));
}

TEST(LazyFacePictures, Picture139IsReadInPlaceAndPaintedFromThere)
{
    const FacePictures lazy = LoadFacePictures();
    // Read in place where the data allows it: a start then fills no fresh
    // memory with faces, and paints straight from the resources.
    const QResource normal(QStringLiteral(":/face139.rgb555"));
    if (reinterpret_cast<quintptr>(normal.data()) % 4 == 0) {
        EXPECT_EQ(lazy.normal.constBits(), normal.data());
        const FaceBitmaps bitmaps(lazy);
        EXPECT_EQ(bitmaps.PaintedFace(false).constBits(), normal.data());
    }
    EXPECT_FALSE(QResource(QStringLiteral(":/face139.rgb32")).isValid()) << "no second copy in another format";
}

TEST(LazyFacePictures, ABrighterFaceIsPaintedFromItsOwnPixelsNotTheUnpackedCopy)
{
    StateDocument document;
    SilentClick click;
    CRPNView view(document, LoadFacePictures(), click);
    view.resize(kFaceWidth, kFaceHeight);
    view.OnInitialUpdate();
    const QImage asDrawn = view.ComposeBackBuffer();
    view.ApplyBrightness(command::BrightnessZero + 3);
    const QImage brighter = view.ComposeBackBuffer();
    EXPECT_NE(brighter.pixel(5, 200), asDrawn.pixel(5, 200));
    view.ApplyBrightness(command::BrightnessZero);
    EXPECT_EQ(view.ComposeBackBuffer(), asDrawn);
}

TEST(LazyFacePictures, AViewDrawsAsWithEagerPicturesAndNeverReadsTheLargePairAtTheFacesOwnSize)
{
    StateDocument lazyDocument;
    StateDocument eagerDocument;
    SilentClick click;
    CountedPictures counted;
    CRPNView lazy(lazyDocument, counted.pictures, click);
    CRPNView eager(eagerDocument, EagerPictures(), click);
    lazy.OnInitialUpdate();
    eager.OnInitialUpdate();

    EXPECT_EQ(lazy.ComposeBackBuffer(), eager.ComposeBackBuffer());
    lazyDocument.state.KeyCode = kKey7;
    eagerDocument.state.KeyCode = kKey7;
    EXPECT_EQ(lazy.ComposeBackBuffer(), eager.ComposeBackBuffer());
    lazy.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&lazy));
    lazy.repaint();
    EXPECT_EQ(counted.largeReads, 0) << "a face at its own size never needs the large pair";
}

TEST(LazyFacePictures, AnEnlargedFaceReadsTheLargePairOnceAndShowsTheBrightnessAlreadySet)
{
    StateDocument document;
    SilentClick click;
    CountedPictures counted;
    CRPNView view(document, counted.pictures, click);
    view.OnInitialUpdate();
    view.ApplyBrightness(command::BrightnessZero + 3);
    view.resize(2 * kFaceWidth, 2 * kFaceHeight);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    view.repaint();
    view.repaint();
    EXPECT_EQ(counted.largeReads, 1);

    const QImage shown = view.grab().toImage();
    QImage expected = EagerPictures().normalLarge.convertToFormat(QImage::Format_RGB555);
    AdjustBrightness(expected, 3);
    const QPoint bezel(2, 2);
    EXPECT_EQ(shown.pixel(bezel), expected.pixel(bezel)) << "the large face carries brightness 3 like the small one";
}

TEST(FaceBrightness, AnUpdateWithTheSameBrightnessKeepsTheFaceAndANewOneRebuildsIt)
{
    StateDocument document;
    SilentClick click;
    CRPNView view(document, LoadFacePictures(), click);
    document.state.Brightness = 2;
    view.OnInitialUpdate();
    const QImage brightened = view.FaceBitmap();
    view.OnUpdate();
    EXPECT_EQ(view.FaceBitmap().constBits(), brightened.constBits()) << "same brightness, same pixels, no second pass";

    view.ApplyBrightness(command::BrightnessZero - 4);
    view.ApplyBrightness(command::BrightnessZero + 2);
    EXPECT_EQ(view.FaceBitmap(), brightened) << "rebuilt from picture 139, not from the darkened face";
    EXPECT_EQ(document.state.Brightness, 2);
}

}  // namespace
}  // namespace rpn::test
