#include "face/spoken_words.h"

#include <array>

#include "display/format.h"
#include "keypad/keypad.h"

namespace rpn {

namespace {

struct SpokenKey {
    int code;
    const wchar_t* primary;
    const wchar_t* shifted;
};

constexpr std::array<SpokenKey, kKeyCount> kSpokenKeys{{
    {kKeyExp, L"e to the x", L"natural logarithm"},
    {kKeyTenPower, L"ten to the x", L"common logarithm"},
    {kKeySin, L"sine", L"inverse sine"},
    {kKeyCos, L"cosine", L"inverse cosine"},
    {kKeyTan, L"tangent", L"inverse tangent"},
    {kKeyReciprocal, L"reciprocal", L"y to the x"},
    {kKeySquareRoot, L"square root", L"x squared"},
    {kKeyEex, L"enter exponent", L"pi"},
    {kKey7, L"7", L"fixed display"},
    {kKey8, L"8", L"scientific display"},
    {kKey9, L"9", L"engineering display"},
    {kKeyDivide, L"divide", L"percent"},
    {kKeySwap, L"swap x and y", L"roll down"},
    {kKeyChs, L"change sign", L"roll up"},
    {kKey4, L"4", L"degrees"},
    {kKey5, L"5", L"radians"},
    {kKey6, L"6", L"grads"},
    {kKeyTimes, L"multiply", L"factorial"},
    {kKeyLastX, L"last x", L"hyperbolic"},
    {kKeyEnter, L"enter", L"random number"},
    {kKey1, L"1", L"to polar"},
    {kKey2, L"2", L"to rectangular"},
    {kKey3, L"3", L"to degrees"},
    {kKeyMinus, L"subtract", L"to radians"},
    {kKeyF, L"F, shift for the yellow functions", L""},
    {kKeyEnterLowerHalf, L"", L""},
    {kKey0, L"0", L"store"},
    {kKeyPoint, L"point", L"recall"},
    {kKeyBackspace, L"backspace", L"clear x"},
    {kKeyPlus, L"add", L"clear all"},
}};
static_assert(RowsInKeyCodeOrder(kSpokenKeys));

// The display's abbreviations, modes and prefixes alike.
constexpr std::array<std::pair<std::wstring_view, std::wstring_view>, 12> kWords{{
    {L"FIX", L"fixed"},
    {L"SCI", L"scientific"},
    {L"ENG", L"engineering"},
    {L"DEG", L"degrees"},
    {L"RAD", L"radians"},
    {L"GRD", L"grads"},
    {L"STO", L"store"},
    {L"RCL", L"recall"},
    {L"HYP", L"hyperbolic"},
    {kErrorNaN, L"error: not a number"},
    {kErrorInf, L"error: infinity"},
    {kErrorOverflow, L"error: overflow"},
}};

// An abbreviation's word; what has none (an edited store's text) as it is.
std::wstring Word(std::wstring_view shown)
{
    for (const auto& [abbreviation, word] : kWords)
        if (shown == abbreviation)
            return std::wstring(word);
    return std::wstring(shown);
}

bool IsDigit(wchar_t character)
{
    return character >= L'0' && character <= L'9';
}

}  // namespace

std::wstring SpokenNumber(const std::wstring& shown)
{
    const std::wstring text = shown.substr(0, shown.find_last_not_of(L' ') + 1);
    const std::size_t n = text.size();
    // The exponent takes the last three cells: its sign (blank or minus) and
    // two digits, right after a mantissa digit, point or blank.
    const bool exponent = n >= 5 && (text[n - 3] == L' ' || text[n - 3] == L'-') && IsDigit(text[n - 2]) &&
                          IsDigit(text[n - 1]) && (IsDigit(text[n - 4]) || text[n - 4] == L'.' || text[n - 4] == L' ');
    std::wstring mantissa = exponent ? text.substr(0, n - 3) : text;
    const std::size_t first = mantissa.find_first_not_of(L' ');
    const std::size_t last = mantissa.find_last_not_of(L' ');
    mantissa = first == std::wstring::npos ? L"" : mantissa.substr(first, last - first + 1);

    std::wstring spoken = mantissa.starts_with(L'-') ? L"minus " + mantissa.substr(1) : mantissa;
    if (exponent) {
        spoken += L" times ten to the ";
        if (text[n - 3] == L'-')
            spoken += L"minus ";
        spoken += std::to_wstring((text[n - 2] - L'0') * 10 + (text[n - 1] - L'0'));
    }
    return spoken;
}

std::wstring DisplayReading(const CalcState& state)
{
    std::wstring reading =
        IsErrorText(state.DisplayText) ? Word(state.DisplayText) : SpokenNumber(DrawnMainLine(state));
    reading += L", " + Word(state.DisplayMode) + L" " + std::to_wstring(EffectivePrecision(state)) + L", " +
               Word(state.AngleMode);
    if (state.FunctionMode)
        reading += L", F pending";
    if (!state.SuperMode.empty())
        reading += L", " + Word(state.SuperMode) + L" pending";
    return reading;
}

std::wstring StackReading(const CalcState& state)
{
    return L"Y " + SpokenNumber(StackLineText(state, state.RegY)) + L", Z " +
           SpokenNumber(StackLineText(state, state.RegZ)) + L", T " + SpokenNumber(StackLineText(state, state.RegT));
}

std::wstring KeyName(int code)
{
    if (code < 1 || code > kKeyCount)
        return {};
    const SpokenKey& key = kSpokenKeys[static_cast<std::size_t>(code - 1)];
    if (*key.shifted == L'\0')
        return key.primary;
    return std::wstring(key.primary) + L", shifted: " + key.shifted;
}

std::wstring RegisterItemName(std::wstring_view caption)
{
    // "STO 4: " or "RCL 4: ", then the register as the display would show it.
    const bool store = caption.starts_with(L"STO ");
    if ((!store && !caption.starts_with(L"RCL ")) || caption.size() < 7 || caption.substr(5, 2) != L": ")
        return std::wstring(caption);
    return std::wstring(store ? L"store in register " : L"recall register ") + caption[4] + L": " +
           SpokenNumber(std::wstring(caption.substr(7)));
}

std::wstring StoredSaying(int registerNumber)
{
    return L"stored in register " + std::to_wstring(registerNumber);
}

std::wstring RecalledSaying(int registerNumber)
{
    return L"recalled register " + std::to_wstring(registerNumber);
}

}  // namespace rpn
