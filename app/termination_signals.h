#pragma once

#include <functional>
#include <memory>

class QSocketNotifier;

namespace rpn {

// Turns SIGTERM, SIGINT and SIGHUP into a call on the user-interface
// thread, so that a session logout or a kill closes the window as a person
// would and the settings are saved. The handler only writes to a pipe; the
// callback runs from the event loop. One object per process, made after the
// application object; the default handlers come back when it is destroyed.
class TerminationSignals {
public:
    explicit TerminationSignals(std::function<void()> onSignal);
    ~TerminationSignals();
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    bool Installed() const { return m_notifier != nullptr; }

private:
    std::function<void()> m_onSignal;
    std::unique_ptr<QSocketNotifier> m_notifier;
};

}  // namespace rpn
