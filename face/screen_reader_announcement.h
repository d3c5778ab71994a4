#pragma once

#include <QString>

class QAccessibleInterface;

namespace rpn {

// Has screen readers present `text` now, as a change of the object they
// treat as focused (`focused`, an object of this program).
//
// Where Qt has announcements (6.8 and later) this is one. Before that, the
// object's description change is the one event a screen reader speaks for a
// focused object whatever the last key was, but Qt's bridge sends it with
// the object in place of the text, which the reader cannot speak: the signal
// is sent here instead, as the bridge would with the text, on the bridge's
// own connection to the accessibility bus so that the reader finds the
// object. Without that connection nothing is sent.
void AnnounceToScreenReader(QAccessibleInterface* focused, const QString& text);

}  // namespace rpn
