#pragma once

#include <string>

class QWidget;

namespace rpn {

// Brings the window to the front for a later start of the program, with what
// the desktop gave that start to show that the user asked for it, so that
// focus-stealing prevention lets it through: the X11 startup-notification id
// (which also ends the start's launch feedback) or the Wayland activation
// token. Either may be empty.
void BringToFront(QWidget& window, const std::string& startupId, const std::string& activationToken);

}  // namespace rpn
