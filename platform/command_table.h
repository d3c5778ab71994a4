#pragma once

#include <functional>
#include <map>

namespace rpn {

class CmdUI;

// Routes command ids to their one handler and their one update handler.
// The shell's classes register their handlers once, when the window is
// built; menus, buttons and shortcuts call Execute with the id their action
// carries, and a menu calls Update for each of its items just before it
// opens. Registering an id twice throws std::logic_error: two owners of one
// command are a wiring fault that must show at start-up, not a silent
// override.
class CommandTable {
public:
    using Handler = std::function<void()>;
    using UpdateHandler = std::function<void(CmdUI&)>;

    void Register(int id, Handler handler);
    void RegisterUpdate(int id, UpdateHandler handler);

    // False when no handler has the id: the command then does nothing.
    bool Execute(int id) const;
    // False when the id has no update handler; the item is left as it is.
    bool Update(int id, CmdUI& item) const;

    bool HasHandler(int id) const;
    bool HasUpdateHandler(int id) const;

private:
    std::map<int, Handler> m_handlers;
    std::map<int, UpdateHandler> m_updateHandlers;
};

}  // namespace rpn
