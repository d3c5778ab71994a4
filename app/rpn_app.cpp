#include "app/rpn_app.h"

#include <QGuiApplication>

#include "app/about_dialog.h"
#include "face/command_ids.h"
#include "platform/dialogs.h"

namespace rpn {

CRPNApp::CRPNApp(AppServices services, FacePictures pictures)
    : m_services(services),
      m_recentFiles(services.profile, command::kRecentFileCount),
      m_document({services.profile, services.clipboard, services.dialogs, services.files, m_recentFiles}),
      m_frame(std::make_unique<CMainFrame>(m_commands, m_recentFiles))
{
    // Before the window exists: the Wayland app_id names the desktop entry, so a shell finds its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.rpn_calculator.rpn"));
    m_view = new CRPNView(m_document, std::move(pictures), services.click, m_frame.get());
    m_frame->setCentralWidget(m_view);
    m_view->SetBrightnessMenu(m_frame->BrightnessMenu());
    m_document.AddView(*m_view);

    m_document.RegisterCommands(m_commands);
    m_view->RegisterCommands(m_commands);
    m_frame->RegisterCommands(m_commands, [this](const std::wstring& path) { OpenDocumentFile(path); });
    m_commands.Register(command::AppAbout, [this] { OnAppAbout(); });
    m_commands.Register(command::FileNew, [this] { OnFileNew(); });
    m_commands.Register(command::FileOpen, [this] { OnFileOpen(); });
    m_frame->SetCloseHook([this] { CloseDocument(); });
}

CRPNApp::~CRPNApp()
{
    m_document.RemoveView(*m_view);
}

bool CRPNApp::InitInstance(const QStringList& arguments)
{
    if (arguments.size() > 1) {
        const std::wstring path = arguments.at(1).toStdWString();
        // A named file that cannot be read leaves the document as New makes
        // it, so the settings saved at exit are not replaced by a blank state.
        m_document.OnNewDocument();
        m_document.OnOpenDocument(path);
        m_recentFiles.Add(path);
    } else {
        m_document.OnNewDocument();
    }
    m_document.InitialUpdateAllViews();
    m_frame->adjustSize();
    m_frame->show();
    m_view->setFocus();
    return true;
}

void CRPNApp::OnAppAbout()
{
    CAboutDlg dialog(m_frame.get());
    dialog.SponsorAddress = QString::fromUtf8(kSponsorAddress);
    dialog.InitDialog();
    dialog.exec();
}

void CRPNApp::OnFileNew()
{
    m_document.OnNewDocument();
    m_document.InitialUpdateAllViews();
}

void CRPNApp::OnFileOpen()
{
    const FileDialogRequest request{FileDialogKind::Open, L"Open", L"All Files (*.*)|*", L"", false};
    if (const std::optional<std::wstring> path = m_services.dialogs.AskFileName(request))
        OpenDocumentFile(*path);
}

void CRPNApp::OpenDocumentFile(const std::wstring& path)
{
    m_document.OnOpenDocument(path);
    m_recentFiles.Add(path);
    m_document.InitialUpdateAllViews();
}

void CRPNApp::CloseDocument()
{
    if (m_documentClosed)
        return;
    m_documentClosed = true;
    m_document.OnCloseDocument();
}

}  // namespace rpn
