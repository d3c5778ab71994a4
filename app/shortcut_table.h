#pragma once

#include <QKeySequence>
#include <span>

namespace rpn {

struct Shortcut {
    QKeyCombination keys;
    int id;
};

// The window's shortcut keys and the commands they send. Undo and the pane
// keys have no handler, so they do nothing.
std::span<const Shortcut> ShortcutTable();

}  // namespace rpn
