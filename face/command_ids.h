#pragma once

namespace rpn::command {

// Command ids of the menu, the command bar and the shortcut table. The
// framework's standard commands keep the values their ids always had.
inline constexpr int StoreRegister1 = 1;
inline constexpr int SaveState = 32771;
inline constexpr int LoadState = 32772;
inline constexpr int RecallRegister0 = 32773;
inline constexpr int StoreRegister0 = 32783;
inline constexpr int StoreRegister2 = 32784;
inline constexpr int ResetState = 32792;
inline constexpr int AudibleClicks = 32793;
inline constexpr int BrightnessFirst = 32798;
inline constexpr int BrightnessZero = 32802;
inline constexpr int BrightnessLast = 32806;
inline constexpr int FileNew = 57600;
inline constexpr int FileOpen = 57601;
inline constexpr int FileSave = 57603;
inline constexpr int RecentFileFirst = 57616;
inline constexpr int EditCopy = 57634;
inline constexpr int EditCut = 57635;
inline constexpr int EditPaste = 57637;
inline constexpr int EditUndo = 57643;
inline constexpr int AppAbout = 57664;
inline constexpr int AppExit = 57665;
inline constexpr int NextPane = 57680;
inline constexpr int PreviousPane = 57681;

inline constexpr int kRecentFileCount = 4;
inline constexpr int kMinimumBrightness = BrightnessFirst - BrightnessZero;
inline constexpr int kMaximumBrightness = BrightnessLast - BrightnessZero;

}  // namespace rpn::command
