#pragma once

#include <QAccessible>
#include <QMainWindow>
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "face/command_ids.h"
#include "face/view_document.h"

class QAction;
class QMenu;
class QToolBar;

namespace rpn {

class CommandTable;
class RecentFileList;

inline constexpr char kMainFrameCaption[] = "Kel's RPN";

// The main window: the menu bar built from the menu table, the command bar,
// the shortcut keys and the view in the middle. Every item, button and key
// sends its command id through the command table. Closing the window, by
// Exit or by any other way, first runs the close hook once.
//
// The frame also follows the document like a view does: the menu items'
// check marks, texts and enabled states are kept current at all times, not
// only when a menu opens, because screen readers read closed menus too.
class CMainFrame final : public QMainWindow, public DocumentView {
public:
    CMainFrame(CommandTable& commands, const RecentFileList& recentFiles, QWidget* parent = nullptr);
    ~CMainFrame() override;
    CMainFrame(const CMainFrame&) = delete;
    CMainFrame& operator=(const CMainFrame&) = delete;

    // Exit (57665) and the recent-file entries (57616..57619) are the frame's.
    void RegisterCommands(CommandTable& table, std::function<void(const std::wstring&)> openRecentFile);
    void SetCloseHook(std::function<void()> hook) { m_closeHook = std::move(hook); }

    QMenu* BrightnessMenu() const { return m_brightnessMenu; }
    QMenu* FileMenu() const { return m_fileMenu; }
    QToolBar* CommandBar() const { return m_commandBar; }
    // The menu-bar action carrying the id, or nothing.
    QAction* FindAction(int id) const;
    // Shows the recent-file list in the File menu; done each time it opens.
    void UpdateRecentFileItems();
    // Runs the update handlers of every menu item; the clipboard is asked
    // only with ClipboardToo.
    enum class MenuFacts { StateOnly, ClipboardToo };
    void UpdateMenuItems(MenuFacts facts);

    void OnInitialUpdate() override;
    // The view's first frame is on the screen.
    void OnFirstFrame();
    void OnUpdate() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QAction* MakeAction(const QString& text, int id, QObject* owner);
    void BuildMenuBar();
    void BuildCommandBar();
    void BuildShortcuts();
    void GiveKeysBackToTheFace();
    void UpdateMenuItemsSoon(MenuFacts facts);

    CommandTable& m_commands;
    const RecentFileList& m_recentFiles;
    QMenu* m_fileMenu = nullptr;
    QMenu* m_editMenu = nullptr;
    QMenu* m_brightnessMenu = nullptr;
    QAction* m_recentFilePlaceholder = nullptr;
    // Made once, then only put in the menu, taken out and renamed: an item
    // deleted while the menu is delivering its own trigger would be used
    // after it is freed.
    std::array<QAction*, command::kRecentFileCount> m_recentFileItems{};
    std::optional<std::vector<std::wstring>> m_recentFilesShown;
    QToolBar* m_commandBar = nullptr;
    std::function<void()> m_closeHook;
    // Whether a screen reader listens; told by Qt when that changes.
    class ScreenReaderWatch final : public QAccessible::ActivationObserver {
    public:
        explicit ScreenReaderWatch(CMainFrame& frame) : m_frame(frame) {}
        void accessibilityActiveChanged(bool active) override;

    private:
        CMainFrame& m_frame;
    };
    ScreenReaderWatch m_screenReaderWatch{*this};
    bool m_screenReaderListens = false;
    bool m_menuUpdatePending = false;
    MenuFacts m_pendingFacts = MenuFacts::StateOnly;
    // The clipboard is first asked once the window's first frame is out.
    bool m_firstFrameOut = false;
    bool m_clipboardFactsWaiting = false;
};

}  // namespace rpn
