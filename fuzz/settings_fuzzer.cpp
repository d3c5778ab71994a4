// INI text into the settings load chain. Whatever the text, the load must
// not crash, and once a state has been through the store its save and load
// must reproduce it exactly, up to what the display refresh at the end of a
// complete load recomputes: an error text is not a fixed point of that
// refresh (it zeroes X and the point's place, which the next refresh sets
// again), so the reloaded state is compared with the saved one refreshed.
#include <cstddef>
#include <cstdint>

#include "display/format.h"
#include "fuzz/fuzz_support.h"
#include "persist/settings.h"
#include "persist/utf8.h"

namespace {

rpn::CalcState Reloaded(const rpn::CalcState& state)
{
    rpn::fuzz::IniProfileStore store;
    if (!rpn::SaveSettings(state, store))
        rpn::fuzz::Fail("saving to memory failed");
    rpn::CalcState loaded = rpn::MakeResetState();
    loaded.RegLstX = state.RegLstX;
    rpn::LoadSettings(loaded, store);
    return loaded;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace rpn;
    const std::wstring text = WidePath(std::string_view(reinterpret_cast<const char*>(data), size));
    fuzz::IniProfileStore store(text);

    CalcState state = fuzz::BusyState();
    ResetState(state);
    LoadSettings(state, store);

    // One trip through the seven-digit texts first, so the doubles are ones
    // the store can hold exactly.
    const CalcState once = Reloaded(state);
    CalcState expected = once;
    UpdateDisplay(expected);
    const CalcState twice = Reloaded(once);
    if (!SameBits(twice, expected))
        fuzz::Fail("a saved state does not load back as it was");
    return 0;
}
