#pragma once

#include <QImage>

#include "app/icons.h"

namespace rpn {

inline constexpr int kCommandIconSize = 32;

// The command bar's own picture of a command, for desktops whose icon theme
// has none: 32 x 32, premultiplied ARGB32. The build draws them once
// (tools/command_icons) and the program reads them from its resources, so a
// start does not bring up the antialiasing rasterizer for four small icons.
// Application has no drawing and gives a transparent picture.
QImage DrawCommandIcon(CommandIcon icon);

}  // namespace rpn
