#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <optional>

#include "face/rpn_view.h"

class QAccessibleEvent;
class QAccessibleInterface;

namespace rpn {

// The factory that gives CRPNView its accessible interface: a group of 29
// buttons, one per key, named in words and pressing their key like a tap,
// and the display as static text, read in words; and the register items of
// the STO and RCL menus their names in words. main() installs it once,
// before the window is shown; it answers no other object.
QAccessibleInterface* CalculatorAccessibleFactory(const QString& className, QObject* object);
void InstallCalculatorAccessibility();

// Tells assistive technology what the display reads after every key the view
// performs, tapped, typed or pressed through the keyboard focus, also when
// the reading did not change, so that a repeated key is still confirmed;
// and where the keyboard focus went when it moved over the keys. The
// reading goes out twice: as a text update of the display, and spoken as a
// change of the object in focus (the key under the focus ring, or else the
// view), which screen readers present whatever key caused it. The
// accessible view makes one, a child of the view, when its interface is
// first asked for; there `notify` is QAccessible::updateAccessibility and
// `announce` is AnnounceToScreenReader. Qt asks for interfaces whether or
// not anything listens, so while `listening` says nobody does (by default,
// while no assistive technology is active) a key costs nothing here: no
// reading is taken and nothing is sent.
class DisplayAnnouncer final : public QObject, public KeyObserver {
public:
    using Notify = std::function<void(QAccessibleEvent&)>;
    using Announce = std::function<void(QAccessibleInterface* focused, const QString& text)>;
    using Listening = std::function<bool()>;
    DisplayAnnouncer(CRPNView& view, Notify notify, Announce announce, Listening listening = {});

    void KeyPerformed() override;
    void FocusMoved() override;
    // Said, with the reading after it, once the menu that chose the command
    // has closed.
    void CommandDone(const std::wstring& saying) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CRPNView& m_view;
    Notify m_notify;
    Announce m_announce;
    Listening m_listening;
    // What the display read before the key being announced; none while
    // nobody listens.
    std::optional<QString> m_lastReading;
};

}  // namespace rpn
