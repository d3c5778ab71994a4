#pragma once

#include <QObject>
#include <functional>

namespace rpn {

// The desktop session's quit request (the session manager's "die", which Qt
// delivers as a Quit event to the application) and Qt's own quit after the
// last window closed both go to onQuit instead, which ends the program the
// one way that saves the state.
class QuitRequestFilter final : public QObject {
public:
    QuitRequestFilter(QObject& application, std::function<void()> onQuit);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void()> m_onQuit;
};

// Runs onExit once, while the object lives, when the process ends without a
// close: from an atexit hook, and on the warning with which Qt's display
// plugins announce a broken connection just before they end the process
// themselves (exit() for X11, _exit() for Wayland, which skips atexit). No
// close and no event loop is left then; onExit must touch nothing of the
// display. One object per process, made after the settings were first read,
// so the hook runs before the libraries' own clean-up.
class SaveAtExit {
public:
    explicit SaveAtExit(std::function<void()> onExit);
    ~SaveAtExit();
    SaveAtExit(const SaveAtExit&) = delete;
    SaveAtExit& operator=(const SaveAtExit&) = delete;

private:
    std::function<void()> m_onExit;
};

}  // namespace rpn
