#pragma once

#include <QIcon>

namespace rpn {

enum class CommandIcon { Cut, Copy, Paste, About, Application };

// The desktop theme's icon for the command, or a small drawn one where the
// theme has none; for Application, the program's own icon.
QIcon IconFor(CommandIcon icon);

}  // namespace rpn
