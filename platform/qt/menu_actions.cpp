#include "platform/qt/menu_actions.h"

#include <QAction>
#include <QMenu>
#include <QString>

#include "platform/command_table.h"

namespace rpn {

namespace {
constexpr const char* kCommandIdProperty = "rpnCommandId";
}

QString MenuText(const std::wstring& text)
{
    QString shown = QString::fromStdWString(text);
    if (shown.contains(QLatin1Char('&')))
        return shown;
    for (qsizetype index = 0; index < shown.size(); ++index) {
        if (shown.at(index).isDigit()) {
            shown.insert(index, QLatin1Char('&'));
            break;
        }
    }
    return shown;
}

void ActionCmdUI::SetText(const std::wstring& text)
{
    m_action.setText(MenuText(text));
}

void ActionCmdUI::Enable(bool enabled)
{
    m_action.setEnabled(enabled);
}

void ActionCmdUI::SetCheck(int check)
{
    m_action.setCheckable(true);
    m_action.setChecked(check != 0);
}

int CommandId(const QAction& action)
{
    return action.property(kCommandIdProperty).toInt();
}

void SetCommandId(QAction& action, int id)
{
    action.setProperty(kCommandIdProperty, id);
}

void RunUpdateHandlers(const QMenu& menu, const CommandTable& table)
{
    for (QAction* action : menu.actions()) {
        if (action->menu() != nullptr || action->isSeparator())
            continue;
        const int id = CommandId(*action);
        if (id == 0)
            continue;
        ActionCmdUI item(*action);
        table.Update(id, item);
    }
}

void ConnectUpdateHandlers(QMenu& menu, const CommandTable& table)
{
    QMenu* menuPointer = &menu;
    QObject::connect(menuPointer, &QMenu::aboutToShow, menuPointer,
                     [menuPointer, &table] { RunUpdateHandlers(*menuPointer, table); });
    for (QAction* action : menu.actions())
        if (QMenu* submenu = action->menu())
            ConnectUpdateHandlers(*submenu, table);
}

}  // namespace rpn
