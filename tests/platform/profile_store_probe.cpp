// Runs the user's profile store in a process of its own, so a test can give
// it a fresh XDG_CONFIG_HOME without touching its own environment.
//   profile_store_probe save   writes a known state
//   profile_store_probe load   prints whether the load completed, and X
#include <cstdio>
#include <cstring>

#include "engine/number_text.h"
#include "persist/settings.h"
#include "platform/qt/profile_store.h"

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    rpn::QtProfileStore store;
    rpn::CalcState state = rpn::MakeResetState();
    if (std::strcmp(argv[1], "save") == 0) {
        state.RegX = 1.0 / 3.0;
        state.Brightness = 4;
        return rpn::SaveSettings(state, store) ? 0 : 1;
    }
    if (std::strcmp(argv[1], "load") == 0) {
        const bool complete = rpn::LoadSettings(state, store);
        const std::wstring x = rpn::RegisterText(state.RegX);
        std::printf("%s %ls %d\n", complete ? "complete" : "partial", x.c_str(), state.Brightness);
        return 0;
    }
    return 2;
}
