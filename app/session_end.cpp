#include "app/session_end.h"

#include <QEvent>
#include <QtGlobal>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <mutex>

namespace rpn {

namespace {

// An atexit hook reaches only what is global: the hook, taken atomically,
// and a lock held while it runs. The Wayland plugin's event thread and the
// main thread may both report the broken connection; the second waits for
// the first one's save, or its own _exit would cut the save short. A save
// that hangs is not waited on for ever.
std::atomic<std::function<void()>*> g_onExit = nullptr;
std::recursive_timed_mutex g_exitHookRunning;

extern "C" void RunExitHook()
{
    std::unique_lock lock(g_exitHookRunning, std::defer_lock);
    [[maybe_unused]] const bool locked = lock.try_lock_for(std::chrono::seconds(3));
    if (std::function<void()>* onExit = g_onExit.exchange(nullptr); onExit != nullptr && *onExit)
        (*onExit)();
}

QtMessageHandler g_previousMessageHandler = nullptr;

// Qt's Wayland plugin ends the process with _exit(), past every atexit hook,
// right after this warning; the X11 plugin warns before its exit() too.
void SaveOnDisplayLoss(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtWarningMsg && (message.startsWith(QLatin1String("The Wayland connection")) ||
                                 message.startsWith(QLatin1String("The X11 connection broke"))))
        RunExitHook();
    if (g_previousMessageHandler != nullptr)
        g_previousMessageHandler(type, context, message);
}

}  // namespace

QuitRequestFilter::QuitRequestFilter(QObject& application, std::function<void()> onQuit) : m_onQuit(std::move(onQuit))
{
    application.installEventFilter(this);
}

bool QuitRequestFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::Quit)
        return QObject::eventFilter(watched, event);
    m_onQuit();
    return true;
}

SaveAtExit::SaveAtExit(std::function<void()> onExit) : m_onExit(std::move(onExit))
{
    // exit() leaves main's objects standing, so this one is still there
    // when the hook runs; a return from main takes it away first.
    static const bool registered = std::atexit(RunExitHook) == 0;
    if (registered)
        g_onExit = &m_onExit;
    g_previousMessageHandler = qInstallMessageHandler(SaveOnDisplayLoss);
}

SaveAtExit::~SaveAtExit()
{
    qInstallMessageHandler(g_previousMessageHandler);
    g_previousMessageHandler = nullptr;
    std::function<void()>* mine = &m_onExit;
    g_onExit.compare_exchange_strong(mine, nullptr);
}

}  // namespace rpn
