#pragma once

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <vector>

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
class CMainFrame final : public QMainWindow {
public:
    CMainFrame(CommandTable& commands, const RecentFileList& recentFiles, QWidget* parent = nullptr);

    // Exit (57665) and the recent-file entries (57616..57619) are the frame's.
    void RegisterCommands(CommandTable& table, std::function<void(const std::wstring&)> openRecentFile);
    void SetCloseHook(std::function<void()> hook) { m_closeHook = std::move(hook); }

    QMenu* BrightnessMenu() const { return m_brightnessMenu; }
    QMenu* FileMenu() const { return m_fileMenu; }
    QToolBar* CommandBar() const { return m_commandBar; }
    // The menu-bar action carrying the id, or nothing.
    QAction* FindAction(int id) const;
    // Rebuilds the recent-file entries; done each time the File menu opens.
    void UpdateRecentFileItems();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QAction* MakeAction(const QString& text, int id, QObject* owner);
    void BuildMenuBar();
    void BuildCommandBar();
    void BuildShortcuts();

    CommandTable& m_commands;
    const RecentFileList& m_recentFiles;
    QMenu* m_fileMenu = nullptr;
    QMenu* m_brightnessMenu = nullptr;
    QAction* m_recentFilePlaceholder = nullptr;
    std::vector<QAction*> m_recentFileItems;
    QToolBar* m_commandBar = nullptr;
    std::function<void()> m_closeHook;
};

}  // namespace rpn
