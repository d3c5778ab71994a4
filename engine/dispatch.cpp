#include "engine/dispatch.h"

#include <array>
#include <cmath>

#include "display/format.h"
#include "engine/entry.h"
#include "engine/functions.h"
#include "engine/stack.h"

namespace rpn {

namespace {

struct Context {
    CalcState& state;
    RandomSource& random;
};

// How a key ends: most go through the common ending; the six prefix keys
// set their prefix instead.
enum class Ending { Common, Prefix };

using Handler = Ending (*)(Context&);

bool Hyperbolic(const CalcState& state)
{
    return state.SuperMode == L"HYP";
}

// One-operand pattern of keys 1 to 5, √x, x² and x!: AutoLift set before EndEntry.
template <typename Function>
Ending Unary(Context& context, Function function)
{
    CalcState& state = context.state;
    state.AutoLift = true;
    EndEntry(state);
    state.RegLstX = state.RegX;
    state.RegX = function(state, state.RegX);
    return Ending::Common;
}

template <typename Operation>
Ending Binary(Context& context, Operation operation)
{
    CalcState& state = context.state;
    EndEntry(state);
    state.RegLstX = state.RegX;
    state.RegX = operation(state.RegY, state.RegX);
    DropStack(state);
    return Ending::Common;
}

Ending Digit(Context& context, int digit)
{
    EnterDigit(context.state, digit);
    return Ending::Common;
}

Ending SetPrefix(Context& context, const wchar_t* prefix)
{
    context.state.SuperMode = prefix;
    return Ending::Prefix;
}

Ending SetAngleMode(Context& context, const wchar_t* mode)
{
    context.state.AngleMode = mode;
    return Ending::Common;
}

// The unshifted and the shifted handler of each key; the codes without a
// handler of their own (F and the lower half of ENTER) only run the common
// ending.
struct KeyHandlers {
    int code;
    Handler primary;
    Handler shifted;
};

Ending Nothing(Context&)
{
    return Ending::Common;
}

constexpr std::array<KeyHandlers, kKeyCount> kKeyHandlers{{
    // eˣ / LN
    {kKeyExp, [](Context& c) { return Unary(c, [](const CalcState&, double x) { return std::exp(x); }); },
     [](Context& c) { return Unary(c, [](const CalcState&, double x) { return std::log(x); }); }},
    // 10ˣ / LOG
    {kKeyTenPower, [](Context& c) { return Unary(c, [](const CalcState&, double x) { return std::pow(10.0, x); }); },
     [](Context& c) { return Unary(c, [](const CalcState&, double x) { return std::log10(x); }); }},
    // SIN / SIN⁻¹
    {kKeySin,
     [](Context& c) {
         return Unary(c, [](const CalcState& s, double x) {
             return Hyperbolic(s) ? std::sinh(x) : std::sin(ToRadians(x, s.AngleMode));
         });
     },
     [](Context& c) {
         return Unary(c, [](const CalcState& s, double x) {
             return Hyperbolic(s) ? ArcSinh(x) : FromRadians(std::asin(x), s.AngleMode);
         });
     }},
    // COS / COS⁻¹
    {kKeyCos,
     [](Context& c) {
         return Unary(c, [](const CalcState& s, double x) {
             return Hyperbolic(s) ? std::cosh(x) : std::cos(ToRadians(x, s.AngleMode));
         });
     },
     [](Context& c) {
         return Unary(c, [](const CalcState& s, double x) {
             return Hyperbolic(s) ? ArcCosh(x) : FromRadians(std::acos(x), s.AngleMode);
         });
     }},
    // TAN / TAN⁻¹
    {kKeyTan,
     [](Context& c) {
         return Unary(c, [](const CalcState& s, double x) {
             return Hyperbolic(s) ? std::tanh(x) : std::tan(ToRadians(x, s.AngleMode));
         });
     },
     [](Context& c) {
         return Unary(c, [](const CalcState& s, double x) {
             return Hyperbolic(s) ? ArcTanh(x) : FromRadians(std::atan(x), s.AngleMode);
         });
     }},
    // 1/x / yˣ. 1/x sets AutoLift last, which comes to the same.
    {kKeyReciprocal,
     [](Context& c) {
         CalcState& s = c.state;
         EndEntry(s);
         s.RegLstX = s.RegX;
         s.RegX = 1.0 / s.RegX;
         s.AutoLift = true;
         return Ending::Common;
     },
     [](Context& c) { return Binary(c, [](double y, double x) { return std::pow(y, x); }); }},
    // √x / x²
    {kKeySquareRoot, [](Context& c) { return Unary(c, [](const CalcState&, double x) { return std::sqrt(x); }); },
     [](Context& c) { return Unary(c, [](const CalcState&, double x) { return x * x; }); }},
    // EEX / π
    {kKeyEex,
     [](Context& c) {
         EnterExponent(c.state);
         return Ending::Common;
     },
     [](Context& c) {
         EndEntry(c.state);
         LiftStack(c.state);
         c.state.RegX = kPi;
         return Ending::Common;
     }},
    // 7, 8, 9 / FIX, SCI, ENG
    {kKey7, [](Context& c) { return Digit(c, 7); }, [](Context& c) { return SetPrefix(c, L"FIX"); }},
    {kKey8, [](Context& c) { return Digit(c, 8); }, [](Context& c) { return SetPrefix(c, L"SCI"); }},
    {kKey9, [](Context& c) { return Digit(c, 9); }, [](Context& c) { return SetPrefix(c, L"ENG"); }},
    // ÷ / %
    {kKeyDivide, [](Context& c) { return Binary(c, [](double y, double x) { return y / x; }); },
     [](Context& c) {
         CalcState& s = c.state;
         EndEntry(s);
         s.RegLstX = s.RegX;
         s.RegX = (s.RegY * s.RegX) * 0.01;
         return Ending::Common;
     }},
    // x≷y / R↓
    {kKeySwap,
     [](Context& c) {
         CalcState& s = c.state;
         EndEntry(s);
         std::swap(s.RegX, s.RegY);
         return Ending::Common;
     },
     [](Context& c) {
         CalcState& s = c.state;
         EndEntry(s);
         const double x = s.RegX;
         s.RegX = s.RegY;
         s.RegY = s.RegZ;
         s.RegZ = s.RegT;
         s.RegT = x;
         return Ending::Common;
     }},
    // CHS / R↑
    {kKeyChs,
     [](Context& c) {
         CalcState& s = c.state;
         if (s.EntryMode)
             ChangeEntrySign(s);
         else
             s.RegX = -s.RegX;
         return Ending::Common;
     },
     [](Context& c) {
         CalcState& s = c.state;
         EndEntry(s);
         const double x = s.RegX;
         s.RegX = s.RegT;
         s.RegT = s.RegZ;
         s.RegZ = s.RegY;
         s.RegY = x;
         return Ending::Common;
     }},
    // 4, 5, 6 / DEG, RAD, GRD
    {kKey4, [](Context& c) { return Digit(c, 4); }, [](Context& c) { return SetAngleMode(c, L"DEG"); }},
    {kKey5, [](Context& c) { return Digit(c, 5); }, [](Context& c) { return SetAngleMode(c, L"RAD"); }},
    {kKey6, [](Context& c) { return Digit(c, 6); }, [](Context& c) { return SetAngleMode(c, L"GRD"); }},
    // × / x!
    {kKeyTimes, [](Context& c) { return Binary(c, [](double y, double x) { return y * x; }); },
     [](Context& c) { return Unary(c, [](const CalcState&, double x) { return Factorial(x); }); }},
    // LSTx / HYP
    {kKeyLastX,
     [](Context& c) {
         EndEntry(c.state);
         LiftStack(c.state);
         c.state.RegX = c.state.RegLstX;
         return Ending::Common;
     },
     [](Context& c) { return SetPrefix(c, L"HYP"); }},
    // ENTER / RAN#
    {kKeyEnter,
     [](Context& c) {
         EndEntry(c.state);
         LiftStack(c.state);
         c.state.AutoLift = false;
         return Ending::Common;
     },
     [](Context& c) {
         CalcState& s = c.state;
         EndEntry(s);
         s.RegLstX = s.RegX;
         LiftStack(s);
         s.RegX = static_cast<double>(c.random.Next()) * kRandomScale;
         return Ending::Common;
     }},
    // 1 / →P
    {kKey1, [](Context& c) { return Digit(c, 1); },
     [](Context& c) {
         CalcState& s = c.state;
         EndEntry(s);
         s.RegLstX = s.RegX;
         const Polar polar = ToPolar(s.RegX, s.RegY, s.AngleMode);
         s.RegX = polar.r;
         s.RegY = polar.theta;
         s.AutoLift = true;
         return Ending::Common;
     }},
    // 2 / →R, which leaves LAST X alone
    {kKey2, [](Context& c) { return Digit(c, 2); },
     [](Context& c) {
         CalcState& s = c.state;
         EndEntry(s);
         const Rectangular rectangular = ToRectangular(s.RegX, s.RegY, s.AngleMode);
         s.RegY = rectangular.y;
         s.RegX = rectangular.x;
         s.AutoLift = true;
         return Ending::Common;
     }},
    // 3 / →DEG
    {kKey3, [](Context& c) { return Digit(c, 3); },
     [](Context& c) {
         CalcState& s = c.state;
         EndEntry(s);
         s.RegLstX = s.RegX;
         s.RegX = RadiansToDegrees(s.RegX);
         s.AutoLift = true;
         return Ending::Common;
     }},
    // − / →RAD
    {kKeyMinus, [](Context& c) { return Binary(c, [](double y, double x) { return y - x; }); },
     [](Context& c) {
         CalcState& s = c.state;
         EndEntry(s);
         s.RegLstX = s.RegX;
         s.RegX = DegreesToRadians(s.RegX);
         s.AutoLift = true;
         return Ending::Common;
     }},
    // F, and the lower half of ENTER
    {kKeyF, Nothing, Nothing},
    {kKeyEnterLowerHalf, Nothing, Nothing},
    // 0 / STO
    {kKey0, [](Context& c) { return Digit(c, 0); }, [](Context& c) { return SetPrefix(c, L"STO"); }},
    // . / RCL
    {kKeyPoint,
     [](Context& c) {
         EnterDecimalPoint(c.state);
         return Ending::Common;
     },
     [](Context& c) { return SetPrefix(c, L"RCL"); }},
    // ← / CLX
    {kKeyBackspace,
     [](Context& c) {
         if (c.state.EntryMode)
             Backspace(c.state);
         else
             ClearEntry(c.state);
         return Ending::Common;
     },
     [](Context& c) {
         ClearEntry(c.state);
         return Ending::Common;
     }},
    // + / CLR
    {kKeyPlus, [](Context& c) { return Binary(c, [](double y, double x) { return y + x; }); },
     [](Context& c) {
         ClearRegisters(c.state);
         return Ending::Common;
     }},
}};
static_assert(RowsInKeyCodeOrder(kKeyHandlers));

}  // namespace

void DispatchKey(CalcState& state, RandomSource& random)
{
    const int code = state.KeyCode;
    Ending ending = Ending::Common;
    if (code >= 1 && code <= kKeyCount) {
        Context context{state, random};
        const KeyHandlers& handlers = kKeyHandlers[static_cast<std::size_t>(code - 1)];
        ending = (state.FunctionMode ? handlers.shifted : handlers.primary)(context);
    }

    state.FunctionMode = (ending == Ending::Common && code == kKeyF) ? !state.FunctionMode : false;
    if (ending == Ending::Common && !(code == kKeyF && Hyperbolic(state)))
        state.SuperMode.clear();
    UpdateDisplay(state);
}

}  // namespace rpn
