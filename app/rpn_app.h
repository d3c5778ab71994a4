#pragma once

#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

#include "app/main_frame.h"
#include "app/rpn_doc.h"
#include "app/single_instance.h"
#include "face/face_pictures.h"
#include "face/rpn_view.h"
#include "platform/command_table.h"
#include "platform/recent_file_list.h"

namespace rpn {

class ClickSound;

// Everything the program reaches the desktop through, owned by the caller.
struct AppServices {
    ProfileStore& profile;
    Clipboard& clipboard;
    Dialogs& dialogs;
    FileSystem& files;
    ClickSound& click;
};

// The application: builds the one document, the frame and the view, runs
// the start-up steps and handles About, New and Open. The settings are
// written once when the window closes, however it closes.
class CRPNApp {
public:
    CRPNApp(AppServices services, FacePictures pictures);
    ~CRPNApp();
    CRPNApp(const CRPNApp&) = delete;
    CRPNApp& operator=(const CRPNApp&) = delete;

    // arguments as QCoreApplication::arguments gives them: the program
    // first, then an optional state file to open. Shows the window.
    bool InitInstance(const QStringList& arguments);

    void OnAppAbout();
    void OnFileNew();
    void OnFileOpen();
    // The framework's open path: Open, the recent-file entries and the command line.
    void OpenDocumentFile(const std::wstring& path);
    // Closes the document, writing the settings, unless that happened already.
    void CloseDocument();
    // Ends the calculator as Exit does from outside the window (a signal, the
    // session's quit request), also while a modal box or dialog is open: each
    // is closed as its Cancel would, then the window and the document close.
    // The caller then ends the event loops.
    void RequestClose();
    // The process is ending without a close (the display is gone): writes
    // the settings once, if the start-up got as far as loading them, and
    // touches nothing of the window. May run on another thread.
    void SaveOnLostDisplay();
    // Runs once, when the close begins, before the settings are written.
    void SetClosingHook(std::function<void()> hook) { m_closingHook = std::move(hook); }
    // A later start of the program: brings the window to the front and opens
    // its file, if any, as Open does.
    void OnSecondStart(const SecondStart& request);

    CRPNDoc& Document() { return m_document; }
    CMainFrame& Frame() { return *m_frame; }
    CRPNView& View() { return *m_view; }
    CommandTable& Commands() { return m_commands; }
    RecentFileList& RecentFiles() { return m_recentFiles; }
    bool DocumentClosed() const { return m_documentClosed; }

private:
    AppServices m_services;
    CommandTable m_commands;
    RecentFileList m_recentFiles;
    CRPNDoc m_document;
    std::unique_ptr<CMainFrame> m_frame;
    CRPNView* m_view = nullptr;
    bool m_documentOpened = false;
    bool m_frameShown = false;
    bool m_documentClosed = false;
    std::function<void()> m_closingHook;
};

}  // namespace rpn
