#pragma once

#include <span>
#include <string_view>

namespace rpn {

enum class MenuEntryKind { Command, Separator, Submenu };

enum class MenuEntryState { Normal, Checked, Grayed };

// One entry of the menu bar's menus. Captions mark the access letter with
// "&"; a "\t" parts the caption from the shortcut text shown beside it.
struct MenuEntry {
    MenuEntryKind kind = MenuEntryKind::Command;
    std::wstring_view caption;
    int id = 0;
    MenuEntryState state = MenuEntryState::Normal;
    std::span<const MenuEntry> children;
};

struct TopMenu {
    std::wstring_view caption;
    std::span<const MenuEntry> entries;
};

// The main window's menu bar, menus and items in order.
std::span<const TopMenu> MainMenu();

// The File menu's place holder that the recent-file list replaces.
inline constexpr std::wstring_view kRecentFileCaption = L"Recent File";

}  // namespace rpn
