#include "display/render.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "display/format.h"

namespace rpn {

namespace {

const FontDescription kMainFont{26, 200, L"Tohoma"};
const FontDescription kStackFont{11, 100, L"System"};
const FontDescription kPrefixFont{14, 100, L"System"};

constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kGrey = 0xFF808080;

constexpr int kPointOffset = 11;
constexpr int kSeparatorOffset = 10;
constexpr int kMinusOffset = 5;

constexpr int kStackX = 92;
constexpr std::array<int, 3> kStackLineY{37, 47, 57};
constexpr int kModeX = 190;
constexpr int kModeLabelY = 57;
constexpr int kAngleModeY = 45;
constexpr int kFunctionX = 24;
constexpr int kSuperModeX = 45;
constexpr int kPrefixY = 52;

// The display window of the face. Texts are clipped to it, and a text is
// cut to the characters that can still start inside it: every glyph that
// shows is at least a pixel wide. A text from a hand-edited settings file
// may be millions of characters long; drawing it costs what a normal one
// does.
constexpr int kDisplayLeft = 17;
constexpr int kDisplayRight = 223;

std::wstring Fitting(std::wstring_view text, int x)
{
    const auto room = static_cast<std::size_t>(std::max(kDisplayRight - x, 0));
    return std::wstring(text.substr(0, room));
}

void BeginStep(Surface& surface, QRgb textColour, const FontDescription& font)
{
    surface.SetTextColor(textColour);
    surface.SetBackgroundColor(surface.GetPixel(kDisplayBackgroundX, kDisplayBackgroundY));
    surface.SelectFont(font);
}

}  // namespace

void DrawMainNumber(const CalcState& state, Surface& surface)
{
    BeginStep(surface, kBlack, kMainFont);
    constexpr std::size_t kCellsInWindow = (kDisplayRight - kMainLineX) / kMainLineCellWidth + 1;
    const std::vector<MainLineCell> cells = LayoutMainLine(state, kCellsInWindow);
    for (std::size_t index = 0; index < cells.size(); ++index) {
        const MainLineCell& cell = cells[index];
        const int x = kMainLineX + kMainLineCellWidth * static_cast<int>(index);
        // Point and separator first: the character's own box then covers
        // whatever part of them falls inside its cell.
        if (cell.point)
            surface.TextOut(x + kPointOffset, kMainLineY, L".");
        if (cell.separator)
            surface.TextOut(x + kSeparatorOffset, kMainLineY, L",");
        const int characterX = cell.character == L'-' ? x + kMinusOffset : x;
        surface.TextOut(characterX, kMainLineY, std::wstring(1, cell.character));
    }
}

void DrawStackAndModes(const CalcState& state, Surface& surface)
{
    BeginStep(surface, kGrey, kStackFont);
    const std::array<double, 3> registers{state.RegY, state.RegZ, state.RegT};
    for (std::size_t line = 0; line < registers.size(); ++line)
        surface.TextOut(kStackX, kStackLineY[line], StackLineText(state, registers[line]));
    // The label's point and digit would fall outside a mode that long.
    const bool longMode = state.DisplayMode.size() > Fitting(state.DisplayMode, kModeX).size();
    surface.TextOut(kModeX, kModeLabelY, longMode ? Fitting(state.DisplayMode, kModeX) : ModeLabel(state));
    surface.TextOut(kModeX, kAngleModeY, Fitting(state.AngleMode, kModeX));
}

void DrawPrefixIndicators(const CalcState& state, Surface& surface)
{
    BeginStep(surface, kBlack, kPrefixFont);
    if (state.FunctionMode)
        surface.TextOut(kFunctionX, kPrefixY, L"f");
    if (!state.SuperMode.empty())
        surface.TextOut(kSuperModeX, kPrefixY, Fitting(state.SuperMode, kSuperModeX));
}

void DrawDisplay(const CalcState& state, Surface& surface)
{
    surface.ClipTo(QRect(kDisplayLeft, 0, kDisplayRight - kDisplayLeft, kDisplayStripBottom));
    DrawMainNumber(state, surface);
    DrawStackAndModes(state, surface);
    DrawPrefixIndicators(state, surface);
}

}  // namespace rpn
