#pragma once

#include <QRect>
#include <QSize>

class QWidget;

namespace rpn {

class ProfileStore;

// The main window's place and size between runs, in a section of its own:
// the calculator's section holds the calculator state alone.
inline constexpr wchar_t kWindowPlacementSection[] = L"Window Placement";

// Where a window that wants `wanted` (its top-left corner and size) goes on a
// screen whose free area is `available`: no larger than the area, no smaller
// than `minimum` where the area allows, and moved until all of it lies inside.
QRect PlaceOnScreen(QRect wanted, QRect available, QSize minimum);

// Before the window is first shown: the stored place and size, kept on the
// screen the window was on (or the primary screen when that one is gone),
// maximised again if it was.
// Nothing stored, or nothing sensible, leaves the window as it is.
void RestoreWindowPlacement(QWidget& window, ProfileStore& store);
// Moves a shown window, its frame included, inside the free area of its
// screen, shrinking it if need be.
void KeepOnScreen(QWidget& window);
// Writes the window's place and size (the normal ones of a maximised
// window, and that it was maximised); the settings saved next flush them.
void SaveWindowPlacement(const QWidget& window, ProfileStore& store);

}  // namespace rpn
