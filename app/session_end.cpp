#include "app/session_end.h"

#include <QEvent>
#include <cstdlib>

namespace rpn {

namespace {

// An atexit hook reaches only what is global; this is the one thing kept.
std::function<void()>* g_onExit = nullptr;

extern "C" void RunExitHook()
{
    if (g_onExit == nullptr)
        return;
    const std::function<void()> onExit = std::move(*g_onExit);
    g_onExit = nullptr;
    if (onExit)
        onExit();
}

}  // namespace

QuitRequestFilter::QuitRequestFilter(QObject& application, std::function<void()> onQuit)
    : m_onQuit(std::move(onQuit))
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
}

SaveAtExit::~SaveAtExit()
{
    if (g_onExit == &m_onExit)
        g_onExit = nullptr;
}

}  // namespace rpn
