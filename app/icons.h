#pragma once

#include <QIcon>
#include <QImage>

namespace rpn {

enum class CommandIcon { Cut, Copy, Paste, About, Application };

// The desktop theme's icon for the command, or a small drawn one where the
// theme has none; for Application, the program's own icon.
QIcon IconFor(CommandIcon icon);

inline constexpr int kCommandIconSize = 32;

// The command bar's own picture of a command, for desktops whose icon theme
// has none: 32 x 32, premultiplied ARGB32. Application has no drawing and
// gives a transparent picture.
QImage DrawCommandIcon(CommandIcon icon);

}  // namespace rpn
