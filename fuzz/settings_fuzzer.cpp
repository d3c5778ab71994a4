// INI text into the settings load chain. Whatever the text, the load must
// not crash, and once a state has been through the store its save and load
// must reproduce it exactly.
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_support.h"
#include "persist/settings.h"
#include "persist/standard_file_system.h"

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

    const CalcState once = Reloaded(state);
    const CalcState twice = Reloaded(once);
    if (!SameBits(once, twice))
        fuzz::Fail("a saved state does not load back as it was");
    return 0;
}
