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

// Runs onExit from an atexit hook while the object lives. Qt's display
// plugins end the process with exit() when the display connection breaks
// ("The X11 connection broke"), with no close and no event loop left; the
// hook is the last place the state can still be saved. onExit must touch
// nothing of the display. One object per process, made after the settings
// were first read, so the hook runs before the library's own clean-up.
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
