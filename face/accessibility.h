#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <optional>

#include "engine/calc_state.h"

class QAccessibleEvent;
class QAccessibleInterface;

namespace rpn {

class CRPNView;

// What a screen reader hears from the display: the main line as it is drawn,
// an exponent spoken as a power of ten, then the display format, the angle
// mode and whatever prefix is pending, for example
// "1.234500 times ten to the 3, SCI 6, DEG, F pending".
QString DisplayReading(const CalcState& state);
// Y, Z and T as the small lines show them, spoken the same way.
QString StackReading(const CalcState& state);
// One number as shown ("-5.000000 00", "1,234.50"), spoken.
QString SpokenNumber(const std::wstring& shown);

// A key's accessible name is its two legends as printed ("SIN, shifted:
// SIN⁻¹"); its description says the same in words ("sine; shifted: arc
// sine"). Both are empty for key code 26, which no key produces.
QString KeyName(int code);
QString KeyDescription(int code);

// The factory that gives CRPNView its accessible interface: a group of 29
// buttons, one per key, that press their key like a tap, and the display as
// static text. main() installs it once, before the window is shown; it
// answers no other object.
QAccessibleInterface* CalculatorAccessibleFactory(const QString& className, QObject* object);
void InstallCalculatorAccessibility();

// Tells assistive technology what the display reads after every key the view
// handles, tapped or typed, also when the reading did not change, so that a
// repeated key is still confirmed: a text update of the display and a
// description change of the view, whose description is the reading (screen
// readers speak a change of the focused object's description). The
// accessible view makes one, a child of the view, when its interface is
// first asked for; there `announce` is QAccessible::updateAccessibility.
// Qt asks for interfaces whether or not anything listens, so while
// `listening` says nobody does (by default, while no assistive technology is
// active) a key costs nothing here: no reading is taken and no event sent.
class DisplayAnnouncer final : public QObject {
public:
    using Announce = std::function<void(QAccessibleEvent&)>;
    using Listening = std::function<bool()>;
    DisplayAnnouncer(CRPNView& view, Announce announce, Listening listening = {});

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void AnnounceReading();

    CRPNView& m_view;
    Announce m_announce;
    Listening m_listening;
    // What the display read before the key being announced; none while
    // nobody listens, so a listener that arrives hears the right change.
    std::optional<QString> m_lastReading;
};

}  // namespace rpn
