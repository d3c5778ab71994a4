#include "app/rpn_app.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QGuiApplication>
#include <QPointer>

#include "app/window_activation.h"
#include "app/window_placement.h"
#include "face/command_ids.h"
#include "platform/dialogs.h"

namespace rpn {

namespace {

// Innermost first, each as its Cancel (or the OK of a box that has nothing
// else), so the code that opened it goes on as if the user had cancelled.
void CloseModalWindows()
{
    constexpr int kDeepestNesting = 16;
    for (int round = 0; round < kDeepestNesting; ++round) {
        const QPointer<QWidget> modal = QApplication::activeModalWidget();
        if (modal.isNull())
            return;
        // Closing is what the title bar's button does: a dialog cancels, a
        // message box answers with its escape button.
        modal->close();
        if (auto* dialog = qobject_cast<QDialog*>(modal.data()); dialog != nullptr && dialog->isVisible())
            dialog->reject();
        // A window that refuses even that still must not stay in front.
        if (!modal.isNull() && QApplication::activeModalWidget() == modal)
            modal->hide();
    }
}

}  // namespace

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
    m_view->SetFirstFrameHook([this] { m_frame->OnFirstFrame(); });
    m_document.AddView(*m_view);
    m_document.AddView(*m_frame);

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
    m_document.RemoveView(*m_frame);
    m_document.RemoveView(*m_view);
}

bool CRPNApp::InitInstance(const QStringList& arguments)
{
    if (arguments.size() > 1) {
        const std::wstring path = arguments.at(1).toStdWString();
        // A named file that cannot be read leaves the document as New makes
        // it, so the settings saved at exit are not replaced by a blank state.
        m_document.OnNewDocument();
        m_documentOpened = true;
        m_document.OnOpenDocument(path);
        // Its "File Error" box may have been closed by a signal: the close
        // has run, and nothing more is recorded or shown.
        if (m_documentClosed)
            return true;
        m_recentFiles.Add(path);
    } else {
        m_document.OnNewDocument();
        m_documentOpened = true;
    }
    if (m_documentClosed)
        return true;
    m_document.InitialUpdateAllViews();
    m_frame->adjustSize();
    RestoreWindowPlacement(*m_frame, m_services.profile);
    m_frame->show();
    m_frameShown = true;
    m_view->setFocus();
    return true;
}

void CRPNApp::OnAppAbout()
{
    m_services.dialogs.ShowAbout();
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
    if (m_documentClosed)
        return;
    m_document.OnOpenDocument(path);
    m_recentFiles.Add(path);
    m_document.InitialUpdateAllViews();
}

void CRPNApp::CloseDocument()
{
    if (m_documentClosed)
        return;
    m_documentClosed = true;
    // The hook first: it gives up the instance socket before anything is
    // written, so a start racing this close cannot hand its file to us.
    if (m_closingHook)
        std::exchange(m_closingHook, nullptr)();
    // A close during a start-up box comes before the window was ever placed;
    // the place saved at the last close stays.
    if (m_frameShown)
        SaveWindowPlacement(*m_frame, m_services.profile);
    m_document.OnCloseDocument();
}

void CRPNApp::SaveOnLostDisplay()
{
    if (!m_documentOpened || m_documentClosed)
        return;
    m_documentClosed = true;
    m_document.OnCloseDocument();
}

void CRPNApp::RequestClose()
{
    CloseModalWindows();
    m_frame->close();
    // The frame may have closed before, or never have been shown.
    CloseDocument();
}

void CRPNApp::OnSecondStart(const SecondStart& request)
{
    if (m_documentClosed)
        return;
    // To the front first, so that a box the file brings up is seen.
    BringToFront(*m_frame, request.startupId, request.activationToken);
    if (request.path)
        OpenDocumentFile(QFile::decodeName(QByteArray::fromStdString(*request.path)).toStdWString());
}

}  // namespace rpn
