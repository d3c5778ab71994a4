#include "platform/command_table.h"

#include <stdexcept>
#include <string>

namespace rpn {

void CommandTable::Register(int id, Handler handler)
{
    if (!m_handlers.emplace(id, std::move(handler)).second)
        throw std::logic_error("command " + std::to_string(id) + " already has a handler");
}

void CommandTable::RegisterUpdate(int id, UpdateHandler handler)
{
    if (!m_updateHandlers.emplace(id, std::move(handler)).second)
        throw std::logic_error("command " + std::to_string(id) + " already has an update handler");
}

bool CommandTable::Execute(int id) const
{
    const auto found = m_handlers.find(id);
    if (found == m_handlers.end())
        return false;
    // A copy, so that a handler which rebuilds the window cannot pull the
    // function out from under itself.
    const Handler handler = found->second;
    handler();
    return true;
}

bool CommandTable::Update(int id, CmdUI& item) const
{
    const auto found = m_updateHandlers.find(id);
    if (found == m_updateHandlers.end())
        return false;
    found->second(item);
    return true;
}

bool CommandTable::HasHandler(int id) const
{
    return m_handlers.contains(id);
}

bool CommandTable::HasUpdateHandler(int id) const
{
    return m_updateHandlers.contains(id);
}

}  // namespace rpn
