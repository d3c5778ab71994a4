#include "app/main_frame.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>
#include <utility>

#include "app/icons.h"
#include "app/shortcut_table.h"
#include "face/menu_table.h"
#include "platform/command_table.h"
#include "platform/qt/menu_actions.h"
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

// The table writes an item's keys after a tab, as menu resources do. Here
// they become the action's shortcut, which the menu shows in the same
// column and screen readers report as the shortcut, not as part of the
// name. It acts only while the menu itself has the keyboard, so it never
// competes with the shortcut table's keys.
void SetCaption(QAction& action, const std::wstring& caption)
{
    const std::wstring::size_type tab = caption.find(L'\t');
    action.setText(MenuText(caption.substr(0, tab)));
    if (tab != std::wstring::npos) {
        action.setShortcut(
            QKeySequence(ToQString(std::wstring_view(caption).substr(tab + 1)), QKeySequence::PortableText));
        action.setShortcutContext(Qt::WidgetShortcut);
    }
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
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
            [this] { UpdateMenuItemsSoon(MenuFacts::ClipboardToo); });
    m_screenReaderListens = QAccessible::isActive();
    QAccessible::installActivationObserver(&m_screenReaderWatch);
}

CMainFrame::~CMainFrame()
{
    QAccessible::removeActivationObserver(&m_screenReaderWatch);
}

void CMainFrame::ScreenReaderWatch::accessibilityActiveChanged(bool active)
{
    m_frame.m_screenReaderListens = active;
    // A screen reader that starts late finds the menus as they are now.
    if (active)
        m_frame.UpdateMenuItemsSoon(MenuFacts::ClipboardToo);
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
    connect(action, &QAction::triggered, this, [this, id] {
        m_commands.Execute(id);
        UpdateMenuItemsSoon(MenuFacts::ClipboardToo);
    });
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
                // The brightness items carry a radio mark that the view sets;
                // choosing the marked item again must not take it away.
                auto* group = new QActionGroup(submenu);
                group->setExclusionPolicy(QActionGroup::ExclusionPolicy::Exclusive);
                for (const MenuEntry& child : entry.children) {
                    QAction* action = MakeAction(ToQString(child.caption), child.id, submenu);
                    action->setCheckable(true);
                    group->addAction(action);
                    submenu->addAction(action);
                }
                m_brightnessMenu = submenu;
                continue;
            }
            QAction* action = MakeAction(QString(), entry.id, menu);
            SetCaption(*action, std::wstring(entry.caption));
            if (entry.state == MenuEntryState::Checked) {
                action->setCheckable(true);
                action->setChecked(true);
            }
            if (entry.state == MenuEntryState::Grayed)
                action->setEnabled(false);
            menu->addAction(action);
            if (entry.id == command::RecentFileFirst) {
                // The entries take the grayed placeholder's place when there are any.
                m_recentFilePlaceholder = action;
                for (int index = 0; index < command::kRecentFileCount; ++index)
                    m_recentFileItems[std::size_t(index)] =
                        MakeAction(QString(), command::RecentFileFirst + index, menu);
            }
        }
        ConnectUpdateHandlers(*menu, m_commands);
        // Queued, so that it runs once the menu bar has finished closing.
        connect(menu, &QMenu::aboutToHide, this, &CMainFrame::GiveKeysBackToTheFace, Qt::QueuedConnection);
        if (top.caption == L"&File") {
            m_fileMenu = menu;
            connect(menu, &QMenu::aboutToShow, this, [this] { UpdateRecentFileItems(); });
        }
        if (top.caption == L"&Edit")
            m_editMenu = menu;
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
    // The bar's own button for the commands a narrow window has no room for,
    // which screen readers list even while it is hidden, has no name.
    if (auto* more = m_commandBar->findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button")))
        more->setAccessibleName(QStringLiteral("More commands"));
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
    const auto& paths = m_recentFiles.Paths();
    if (paths == m_recentFilesShown)
        return;
    m_recentFilesShown = paths;
    m_recentFilePlaceholder->setVisible(paths.empty());
    // Taken out of the menu rather than hidden, so that screen readers do
    // not meet empty items; the menu owns them either way.
    for (QAction* item : m_recentFileItems)
        m_fileMenu->removeAction(item);
    for (std::size_t index = 0; index < m_recentFileItems.size() && index < paths.size(); ++index) {
        QAction* item = m_recentFileItems[index];
        item->setText(RecentFileCaption(index, paths[index]));
        m_fileMenu->insertAction(m_recentFilePlaceholder, item);
    }
}

void CMainFrame::UpdateMenuItems(MenuFacts facts)
{
    for (QAction* top : menuBar()->actions()) {
        QMenu* menu = top->menu();
        // Paste's state asks the clipboard, which may mean a round trip to
        // another program; the document's changes leave it alone.
        if (menu == nullptr || (menu == m_editMenu && facts == MenuFacts::StateOnly))
            continue;
        RunUpdateHandlers(*menu, m_commands);
    }
    UpdateRecentFileItems();
}

void CMainFrame::UpdateMenuItemsSoon(MenuFacts facts)
{
    if (facts == MenuFacts::ClipboardToo)
        m_pendingFacts = facts;
    if (m_menuUpdatePending)
        return;
    m_menuUpdatePending = true;
    // After the key's or command's own work and repaint, and once for a burst.
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_menuUpdatePending = false;
            const MenuFacts pending = std::exchange(m_pendingFacts, MenuFacts::StateOnly);
            UpdateMenuItems(pending);
        },
        Qt::QueuedConnection);
}

void CMainFrame::OnInitialUpdate()
{
    UpdateMenuItems(MenuFacts::StateOnly);
    // At start the clipboard waits for the first frame: on X11 asking it
    // for text means a round trip to the program that holds it and has Qt
    // load every image-format plugin, some 3 ms, and only the closed Edit
    // menu shows the answer.
    if (m_firstFrameOut)
        UpdateMenuItemsSoon(MenuFacts::ClipboardToo);
    else
        m_clipboardFactsWaiting = true;
}

void CMainFrame::OnFirstFrame()
{
    m_firstFrameOut = true;
    if (std::exchange(m_clipboardFactsWaiting, false))
        UpdateMenuItemsSoon(MenuFacts::ClipboardToo);
}

void CMainFrame::OnUpdate()
{
    // Every key ends here. Only screen readers read closed menus, and an
    // opening menu runs its handlers anyway, so without one the keys do not
    // pay for some twenty register texts each.
    if (m_screenReaderListens)
        UpdateMenuItemsSoon(MenuFacts::StateOnly);
}

void CMainFrame::GiveKeysBackToTheFace()
{
    // Closing a menu, with Escape above all, leaves the menu bar holding the
    // keyboard unseen: the next digit would be lost and F or E would open
    // File or Edit. A menu opened meanwhile (moving along the bar) keeps it.
    if (QApplication::activePopupWidget() != nullptr || centralWidget() == nullptr)
        return;
    if (QApplication::focusWidget() == menuBar())
        centralWidget()->setFocus(Qt::OtherFocusReason);
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
