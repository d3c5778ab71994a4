#include "app/main_frame.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

#include "app/icons.h"
#include "app/shortcut_table.h"
#include "face/command_ids.h"
#include "face/menu_table.h"
#include "platform/cmd_ui.h"
#include "platform/command_table.h"
#include "platform/recent_file_list.h"

namespace rpn {

namespace {

QString ToQString(std::wstring_view text)
{
    return QString::fromWCharArray(text.data(), static_cast<qsizetype>(text.size()));
}

// The menu shows the path as the user knows it, shortened in the middle
// when it is long, with its number as the access key.
QString RecentFileCaption(std::size_t index, const std::wstring& path)
{
    constexpr qsizetype kLongest = 48;
    QString shown = QDir::toNativeSeparators(QString::fromStdWString(path));
    if (shown.size() > kLongest)
        shown = shown.left(12) + QStringLiteral("...") + shown.right(kLongest - 15);
    shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return QStringLiteral("&%1 %2").arg(index + 1).arg(shown);
}

}  // namespace

CMainFrame::CMainFrame(CommandTable& commands, const RecentFileList& recentFiles, QWidget* parent)
    : QMainWindow(parent), m_commands(commands), m_recentFiles(recentFiles)
{
    setWindowTitle(QString::fromUtf8(kMainFrameCaption));
    setWindowIcon(IconFor(CommandIcon::Application));
    BuildMenuBar();
    BuildCommandBar();
    BuildShortcuts();
}

void CMainFrame::RegisterCommands(CommandTable& table, std::function<void(const std::wstring&)> openRecentFile)
{
    table.Register(command::AppExit, [this] { close(); });
    for (int index = 0; index < command::kRecentFileCount; ++index)
        table.Register(command::RecentFileFirst + index, [this, index, openRecentFile] {
            const auto& paths = m_recentFiles.Paths();
            // A copy: opening the file moves it to the top of this very list.
            if (static_cast<std::size_t>(index) < paths.size())
                openRecentFile(std::wstring(paths[static_cast<std::size_t>(index)]));
        });
}

QAction* CMainFrame::MakeAction(const QString& text, int id, QObject* owner)
{
    auto* action = new QAction(text, owner);
    SetCommandId(*action, id);
    connect(action, &QAction::triggered, this, [this, id] { m_commands.Execute(id); });
    return action;
}

void CMainFrame::BuildMenuBar()
{
    for (const TopMenu& top : MainMenu()) {
        QMenu* menu = menuBar()->addMenu(ToQString(top.caption));
        for (const MenuEntry& entry : top.entries) {
            if (entry.kind == MenuEntryKind::Separator) {
                menu->addSeparator();
                continue;
            }
            if (entry.kind == MenuEntryKind::Submenu) {
                QMenu* submenu = menu->addMenu(ToQString(entry.caption));
                // The brightness items carry a radio mark that the view sets.
                auto* group = new QActionGroup(submenu);
                group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
                for (const MenuEntry& child : entry.children) {
                    QAction* action = MakeAction(MenuText(std::wstring(child.caption)), child.id, submenu);
                    action->setCheckable(true);
                    group->addAction(action);
                    submenu->addAction(action);
                }
                m_brightnessMenu = submenu;
                continue;
            }
            QAction* action = MakeAction(MenuText(std::wstring(entry.caption)), entry.id, menu);
            if (entry.state == MenuEntryState::Checked) {
                action->setCheckable(true);
                action->setChecked(true);
            }
            if (entry.state == MenuEntryState::Grayed)
                action->setEnabled(false);
            if (entry.id == command::RecentFileFirst)
                m_recentFilePlaceholder = action;
            menu->addAction(action);
        }
        ConnectUpdateHandlers(*menu, m_commands);
        if (top.caption == L"&File") {
            m_fileMenu = menu;
            connect(menu, &QMenu::aboutToShow, this, [this] { UpdateRecentFileItems(); });
        }
    }
}

void CMainFrame::BuildCommandBar()
{
    m_commandBar = addToolBar(QStringLiteral("Command bar"));
    m_commandBar->setMovable(false);
    m_commandBar->setFloatable(false);
    m_commandBar->setIconSize(QSize(16, 16));
    m_commandBar->setContextMenuPolicy(Qt::PreventContextMenu);
    const struct {
        const char* text;
        int id;
        CommandIcon icon;
    } buttons[] = {
        {"Cut", command::EditCut, CommandIcon::Cut},
        {"Copy", command::EditCopy, CommandIcon::Copy},
        {"Paste", command::EditPaste, CommandIcon::Paste},
        {"About", command::AppAbout, CommandIcon::About},
    };
    m_commandBar->addSeparator();
    for (const auto& button : buttons) {
        if (button.id == command::AppAbout)
            m_commandBar->addSeparator();
        QAction* action = MakeAction(QString::fromUtf8(button.text), button.id, m_commandBar);
        action->setIcon(IconFor(button.icon));
        m_commandBar->addAction(action);
    }
    m_commandBar->addSeparator();
}

void CMainFrame::BuildShortcuts()
{
    for (const Shortcut& shortcut : ShortcutTable()) {
        QAction* action = MakeAction(QString(), shortcut.id, this);
        action->setShortcut(QKeySequence(shortcut.keys));
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
    }
}

QAction* CMainFrame::FindAction(int id) const
{
    for (QAction* top : menuBar()->actions()) {
        QMenu* menu = top->menu();
        if (menu == nullptr)
            continue;
        for (QAction* action : menu->actions()) {
            if (CommandId(*action) == id)
                return action;
            if (QMenu* submenu = action->menu())
                for (QAction* child : submenu->actions())
                    if (CommandId(*child) == id)
                        return child;
        }
    }
    return nullptr;
}

void CMainFrame::UpdateRecentFileItems()
{
    for (QAction* item : m_recentFileItems)
        delete item;
    m_recentFileItems.clear();
    const auto& paths = m_recentFiles.Paths();
    m_recentFilePlaceholder->setVisible(paths.empty());
    for (std::size_t index = 0; index < paths.size() && index < std::size_t{command::kRecentFileCount}; ++index) {
        QAction* item = MakeAction(RecentFileCaption(index, paths[index]),
                                   command::RecentFileFirst + static_cast<int>(index), m_fileMenu);
        m_fileMenu->insertAction(m_recentFilePlaceholder, item);
        m_recentFileItems.push_back(item);
    }
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (m_closeHook) {
        const std::function<void()> hook = std::move(m_closeHook);
        m_closeHook = nullptr;
        hook();
    }
    event->accept();
}

}  // namespace rpn
