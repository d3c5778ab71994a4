#pragma once

#include <QStringList>
#include <memory>

#include "app/main_frame.h"
#include "app/rpn_doc.h"
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
    bool m_documentClosed = false;
};

}  // namespace rpn
