#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <vector>

#include "display/format.h"
#include "display/render.h"
#include "face/brightness.h"
#include "face/face_pictures.h"
#include "face/rpn_view.h"
#include "platform/qt/fonts.h"
#include "platform/qt/sound.h"
#include "platform/qt/surface.h"

namespace {

// A document with a typical display: X keyed in SCI, three stack values,
// F pending and a key held down, so every step of the paint has work.
class BenchDocument final : public rpn::ViewDocument {
public:
    BenchDocument()
    {
        m_state = rpn::MakeResetState();
        m_state.RegX = 1234.5;
        m_state.RegY = -0.000271828;
        m_state.RegZ = 6.02214076e23;
        m_state.RegT = 42.0;
        m_state.FunctionMode = true;
        m_state.KeyCode = rpn::kKey7;
        rpn::UpdateDisplay(m_state);
    }
    rpn::CalcState& State() override { return m_state; }
    void DispatchKey() override {}
    void KeyboardKey(int) override {}

private:
    rpn::CalcState m_state;
};

class SilentClick final : public rpn::ClickSound {
public:
    void Play() override {}
};

// The whole back buffer, as each paint composes it: face, pressed key,
// display strip.
void BM_ComposeBackBuffer(benchmark::State& loop)
{
    BenchDocument document;
    SilentClick click;
    rpn::CRPNView view(document, rpn::LoadFacePictures(), click);
    view.OnInitialUpdate();
    for (auto _ : loop)
        benchmark::DoNotOptimize(view.ComposeBackBuffer());
}
BENCHMARK(BM_ComposeBackBuffer)->Unit(benchmark::kMicrosecond);

// The display strip alone, drawn over the face already in the buffer.
void BM_DrawDisplay(benchmark::State& loop)
{
    BenchDocument document;
    const QImage face = rpn::LoadFacePictures().normal.convertToFormat(QImage::Format_RGB32);
    QImage buffer = face;
    for (auto _ : loop) {
        rpn::Surface surface(buffer);
        rpn::DrawDisplay(document.State(), surface);
    }
}
BENCHMARK(BM_DrawDisplay)->Unit(benchmark::kMicrosecond);

// ApplyBrightness's pixel pass over the 240 x 268 = 64320 pixels of picture
// 139, starting from a fresh copy as the view does for every update.
void BM_ApplyBrightness(benchmark::State& loop)
{
    const QImage normal = rpn::LoadFacePictures().normal.convertToFormat(rpn::kFacePixelFormat);
    const int brightness = static_cast<int>(loop.range(0));
    for (auto _ : loop) {
        QImage face = normal;
        rpn::AdjustBrightness(face, brightness);
        benchmark::DoNotOptimize(face.constBits());
    }
    loop.SetItemsProcessed(loop.iterations() * normal.width() * normal.height());
}
BENCHMARK(BM_ApplyBrightness)->Arg(-4)->Arg(3)->Arg(0)->Unit(benchmark::kMicrosecond);

}  // namespace

// The view needs an application; the offscreen platform keeps the numbers
// free of any X server.
int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgumentCount = 1;
    QApplication application(qtArgumentCount, argv);
    rpn::InstallFontSubstitutions();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
