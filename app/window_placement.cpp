#include "app/window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <cstdint>
#include <limits>

#include "platform/profile_store.h"

namespace rpn {

namespace {

constexpr wchar_t kLeft[] = L"Left";
constexpr wchar_t kTop[] = L"Top";
constexpr wchar_t kWidth[] = L"Width";
constexpr wchar_t kHeight[] = L"Height";
constexpr wchar_t kMaximized[] = L"Maximized";

// Fits one side: at most the room there is, at least the minimum where it fits.
int FitLength(int wanted, int room, int minimum)
{
    return std::min(std::max(wanted, minimum), room);
}

int FitStart(int start, int length, int roomStart, int roomLength)
{
    return std::clamp(start, roomStart, roomStart + roomLength - length);
}

}  // namespace

QRect PlaceOnScreen(QRect wanted, QRect available, QSize minimum)
{
    const int width = FitLength(wanted.width(), available.width(), minimum.width());
    const int height = FitLength(wanted.height(), available.height(), minimum.height());
    return {FitStart(wanted.x(), width, available.x(), available.width()),
            FitStart(wanted.y(), height, available.y(), available.height()), width, height};
}

void RestoreWindowPlacement(QWidget& window, ProfileStore& store)
{
    constexpr std::int32_t kAbsent = std::numeric_limits<std::int32_t>::min();
    const std::int32_t left = store.GetProfileInt(kWindowPlacementSection, kLeft, kAbsent);
    const std::int32_t top = store.GetProfileInt(kWindowPlacementSection, kTop, kAbsent);
    const std::int32_t width = store.GetProfileInt(kWindowPlacementSection, kWidth, kAbsent);
    const std::int32_t height = store.GetProfileInt(kWindowPlacementSection, kHeight, kAbsent);
    if (left == kAbsent || top == kAbsent || width <= 0 || height <= 0)
        return;
    // Values from an edited file stay far from int overflow in the sums below.
    constexpr std::int32_t kFarthest = 1 << 20;
    const QRect wanted(std::clamp(left, -kFarthest, kFarthest), std::clamp(top, -kFarthest, kFarthest),
                       std::min(width, kFarthest), std::min(height, kFarthest));
    QScreen* screen = QGuiApplication::screenAt(wanted.center());
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    const QRect placed = PlaceOnScreen(wanted, screen->availableGeometry(), window.minimumSizeHint());
    window.resize(placed.size());
    window.move(placed.topLeft());
    if (store.GetProfileInt(kWindowPlacementSection, kMaximized, 0) == 1) {
        window.setWindowState(window.windowState() | Qt::WindowMaximized);
        return;
    }
    // The frame the desktop draws around the window is known only once it
    // is shown; then the window is brought inside again, frame and all.
    QTimer::singleShot(0, &window, [&window] { KeepOnScreen(window); });
}

void KeepOnScreen(QWidget& window)
{
    QScreen* screen = window.screen();
    if (screen == nullptr)
        return;
    const QRect available = screen->availableGeometry();
    const QRect frame = window.frameGeometry();
    if (available.contains(frame))
        return;
    const QSize margins = frame.size() - window.size();
    const QRect placed = PlaceOnScreen(frame, available, window.minimumSizeHint() + margins);
    window.resize(placed.size() - margins);
    window.move(placed.topLeft());
}

void SaveWindowPlacement(const QWidget& window, ProfileStore& store)
{
    // pos() is where move() puts the window back, frame included; size() is
    // what resize() gives back. A window filling the screen keeps the place
    // it had before, to go back to when it is made normal again.
    QRect place(window.pos(), window.size());
    const bool maximized = window.isMaximized();
    if (maximized || window.isFullScreen()) {
        const QPoint frameOffset = window.geometry().topLeft() - window.pos();
        place = QRect(window.normalGeometry().topLeft() - frameOffset, window.normalGeometry().size());
    }
    store.WriteProfileInt(kWindowPlacementSection, kLeft, place.x());
    store.WriteProfileInt(kWindowPlacementSection, kTop, place.y());
    store.WriteProfileInt(kWindowPlacementSection, kWidth, place.width());
    store.WriteProfileInt(kWindowPlacementSection, kHeight, place.height());
    store.WriteProfileInt(kWindowPlacementSection, kMaximized, maximized ? 1 : 0);
}

}  // namespace rpn
