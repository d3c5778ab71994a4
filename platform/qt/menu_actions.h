#pragma once

#include <string>

#include "platform/cmd_ui.h"

class QAction;
class QMenu;
class QString;

namespace rpn {

class CommandTable;

// The update object over a QAction of a menu.
class ActionCmdUI final : public CmdUI {
public:
    explicit ActionCmdUI(QAction& action) : m_action(action) {}
    void SetText(const std::wstring& text) override;
    void Enable(bool enabled) override;
    void SetCheck(int check) override;

private:
    QAction& m_action;
};

// A menu text as the menu shows it, with an access key: a text that names
// none ("STO 3:  5.000000 00") gets its first digit as one, so that the item
// can be chosen from the keyboard. The text read on screen is unchanged.
QString MenuText(const std::wstring& text);

// The command id an action carries; 0 for an action without one.
int CommandId(const QAction& action);
void SetCommandId(QAction& action, int id);

// Runs the update handlers of every item of the menu (submenus included)
// each time the menu is about to show. The table must outlive the menu.
void ConnectUpdateHandlers(QMenu& menu, const CommandTable& table);
void RunUpdateHandlers(const QMenu& menu, const CommandTable& table);

}  // namespace rpn
