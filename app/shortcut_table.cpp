#include "app/shortcut_table.h"

#include <array>

#include "face/command_ids.h"

namespace rpn {

std::span<const Shortcut> ShortcutTable()
{
    static const std::array<Shortcut, 13> table{{
        {Qt::CTRL | Qt::Key_N, command::FileNew},
        {Qt::CTRL | Qt::Key_O, command::FileOpen},
        {Qt::CTRL | Qt::Key_S, command::FileSave},
        {Qt::CTRL | Qt::Key_Z, command::EditUndo},
        {Qt::CTRL | Qt::Key_X, command::EditCut},
        {Qt::CTRL | Qt::Key_C, command::EditCopy},
        {Qt::CTRL | Qt::Key_V, command::EditPaste},
        {Qt::ALT | Qt::Key_Backspace, command::EditUndo},
        {Qt::SHIFT | Qt::Key_Delete, command::EditCut},
        {Qt::CTRL | Qt::Key_Insert, command::EditCopy},
        {Qt::SHIFT | Qt::Key_Insert, command::EditPaste},
        {QKeyCombination(Qt::Key_F6), command::NextPane},
        {Qt::SHIFT | Qt::Key_F6, command::PreviousPane},
    }};
    return table;
}

}  // namespace rpn
