// Clipboard contents into Paste. The first byte picks a busy clipboard, one
// without text, or text (the remaining bytes, as UTF-8 with stray bytes
// kept); the second whether an entry is in progress. Paste may change only X,
// the entry flag and the display (and lifting, when X shows an error); a
// refused paste changes nothing.
#include <locale.h>

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cwchar>

#include "display/format.h"
#include "engine/number_text.h"
#include "fuzz/fuzz_support.h"
#include "persist/clipboard_commands.h"
#include "persist/utf8.h"

namespace {

locale_t CLocale()
{
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return locale;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace rpn;
    if (size < 2)
        return 0;
    const auto content = data[0] % 8 == 0   ? fuzz::FuzzClipboard::Content::Busy
                         : data[0] % 8 == 1 ? fuzz::FuzzClipboard::Content::NoText
                                            : fuzz::FuzzClipboard::Content::Text;
    const std::wstring text = WidePath(std::string_view(reinterpret_cast<const char*>(data + 2), size - 2));
    CalcState before = fuzz::BusyState();
    before.EntryMode = (data[1] & 1) != 0;

    // The leading number is read from the UTF-16 text, looking at no more
    // than its characters, exactly as wcstod reads it from the whole text.
    const double read = ParseLeadingNumber(Utf16(text));
    const double whole = wcstod_l(text.c_str(), nullptr, CLocale());
    if (std::bit_cast<std::uint64_t>(read) != std::bit_cast<std::uint64_t>(whole))
        fuzz::Fail("the leading number differs from wcstod's");

    fuzz::FuzzClipboard clipboard(content, text);
    fuzz::CountingDialogs dialogs;
    CalcState state = before;
    const bool pasted = OnEditPaste(state, clipboard, dialogs);
    if (!clipboard.Balanced())
        fuzz::Fail("clipboard left open");
    if (pasted != (content == fuzz::FuzzClipboard::Content::Text))
        fuzz::Fail("paste result does not match the clipboard");
    if (dialogs.Messages() != (content == fuzz::FuzzClipboard::Content::NoText ? 1 : 0))
        fuzz::Fail("message shown exactly when there is no text");
    if (!pasted) {
        if (!SameBits(state, before))
            fuzz::Fail("a refused paste changed the state");
        return 0;
    }
    if (state.EntryMode)
        fuzz::Fail("paste left the entry open");
    CalcState rest = state;
    rest.RegX = before.RegX;
    rest.EntryMode = before.EntryMode;
    rest.DisplayText = before.DisplayText;
    rest.DecimalLocation = before.DecimalLocation;
    // A number the display cannot show becomes an error, which ends lifting.
    if (IsErrorText(state.DisplayText))
        rest.AutoLift = before.AutoLift;
    if (!SameBits(rest, before))
        fuzz::Fail("paste changed more than X and the display");

    // What Copy then puts out is the seven-digit form of the X that Paste left.
    fuzz::FuzzClipboard copied(fuzz::FuzzClipboard::Content::NoText, L"");
    OnEditCopy(state, copied);
    if (!copied.Balanced() || !copied.Open() || copied.GetText() != Utf16(RegisterText(state.RegX)))
        fuzz::Fail("copy after paste");
    copied.Close();
    return 0;
}
