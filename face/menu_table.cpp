#include "face/menu_table.h"

#include <array>

#include "face/command_ids.h"

namespace rpn {

namespace {

using enum MenuEntryKind;

constexpr MenuEntry Item(std::wstring_view caption, int id, MenuEntryState state = MenuEntryState::Normal)
{
    return {Command, caption, id, state, {}};
}

constexpr MenuEntry kSeparator{Separator, {}, 0, MenuEntryState::Normal, {}};

// The digit is the access key of 0 to 4; "-1" to "-4" have none, since
// their digits are taken, and are reached with the arrows.
constexpr std::array kBrightnessMenu{
    Item(L"&4", 32806), Item(L"&3", 32805), Item(L"&2", 32804), Item(L"&1", 32803), Item(L"&0", 32802),
    Item(L"-1", 32801), Item(L"-2", 32800), Item(L"-3", 32799), Item(L"-4", 32798),
};

constexpr std::array kFileMenu{
    Item(L"&Save State", command::SaveState),
    Item(L"&Load State", command::LoadState),
    Item(L"R&eset State", command::ResetState),
    kSeparator,
    Item(kRecentFileCaption, command::RecentFileFirst, MenuEntryState::Grayed),
    kSeparator,
    Item(L"&Audible Clicks", command::AudibleClicks, MenuEntryState::Checked),
    MenuEntry{Submenu, L"&Brightness", 0, MenuEntryState::Normal, kBrightnessMenu},
    kSeparator,
    Item(L"E&xit", command::AppExit),
};

constexpr std::array kEditMenu{
    Item(L"Cu&t\tCtrl+X", command::EditCut),
    Item(L"&Copy\tCtrl+C", command::EditCopy),
    Item(L"&Paste\tCtrl+V", command::EditPaste),
};

// Register 1's STO item carries id 1; the others run without a gap.
constexpr std::array kStoreMenu{
    Item(L"0", 32783), Item(L"1", 1),     Item(L"2", 32784), Item(L"3", 32785), Item(L"4", 32786),
    Item(L"5", 32787), Item(L"6", 32788), Item(L"7", 32789), Item(L"8", 32790), Item(L"9", 32791),
};

constexpr std::array kRecallMenu{
    Item(L"0", 32773), Item(L"1", 32774), Item(L"2", 32775), Item(L"3", 32776), Item(L"4", 32777),
    Item(L"5", 32778), Item(L"6", 32779), Item(L"7", 32780), Item(L"8", 32781), Item(L"9", 32782),
};

constexpr std::array kHelpMenu{
    Item(L"&About Kel's RPN...", command::AppAbout),
};

constexpr std::array kMainMenu{
    TopMenu{L"&File", kFileMenu},  TopMenu{L"&Edit", kEditMenu}, TopMenu{L"&STO", kStoreMenu},
    TopMenu{L"&RCL", kRecallMenu}, TopMenu{L"&Help", kHelpMenu},
};

}  // namespace

std::span<const TopMenu> MainMenu()
{
    return kMainMenu;
}

}  // namespace rpn
