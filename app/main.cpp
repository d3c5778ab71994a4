#include <unistd.h>

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QUrl>
#include <cstdio>

#include "app/command_line.h"
#include "app/deferred_icon_style.h"
#include "app/rpn_app.h"
#include "app/session_end.h"
#include "app/single_instance.h"
#include "app/termination_signals.h"
#include "face/accessibility.h"
#include "face/face_pictures.h"
#include "persist/standard_file_system.h"
#include "platform/qt/clipboard.h"
#include "platform/qt/dialogs.h"
#include "platform/qt/fonts.h"
#include "platform/qt/profile_store.h"
#include "platform/qt/sound.h"

namespace {

std::string WorkingDirectory()
{
    char buffer[4096];
    return getcwd(buffer, sizeof buffer) != nullptr ? std::string(buffer) : std::string();
}

}  // namespace

int main(int argc, char* argv[])
{
    // Answered before anything needs a display or reads the settings.
    if (const std::optional<rpn::ProgramOption> option = rpn::FindProgramOption(argc, argv)) {
        const std::string text = rpn::ProgramOptionText(*option);
        std::fwrite(text.data(), 1, text.size(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    // One calculator per user: a later start hands its file to the running
    // one, whose settings would otherwise be overwritten by whichever closes
    // last.
    rpn::InstanceListener listener;
    if (const std::optional<rpn::InstancePaths> paths = rpn::UserInstancePaths()) {
        rpn::InstanceClaim claim = rpn::ClaimInstance(*paths, {rpn::StateFileArgument(argc, argv, WorkingDirectory())});
        if (claim.handedOver)
            return 0;
        listener = std::move(claim.listener);
    }

    QApplication application(argc, argv);
    QApplication::setStyle(new rpn::DeferredIconStyle);
    rpn::InstanceServer instanceServer(std::move(listener));
    rpn::InstallFontSubstitutions();
    rpn::InstallCalculatorAccessibility();

    rpn::QtProfileStore profile;
    rpn::QtClipboard clipboard(*QGuiApplication::clipboard());
    rpn::QtDialogs dialogs(nullptr, QStringLiteral("Kel's RPN"));
    rpn::StandardFileSystem files;
    rpn::QtClickSound click(QUrl(QStringLiteral("qrc:/click.wav")));

    rpn::CRPNApp calculator({profile, clipboard, dialogs, files, click}, rpn::LoadFacePictures());
    dialogs.SetParent(&calculator.Frame());
    calculator.SetClosingHook([&instanceServer] { instanceServer.Stop(); });
    // A kill, a logout or the session's quit request ends the calculator as
    // Exit does, whatever box is open; the loops, nested ones included, then
    // end. Qt's own quit after the window closed comes the same way.
    const auto close = [&calculator] {
        calculator.RequestClose();
        QCoreApplication::exit(0);
    };
    rpn::TerminationSignals termination(close);
    rpn::QuitRequestFilter quitRequests(application, close);
    QObject::connect(&application, &QCoreApplication::aboutToQuit, [&calculator] { calculator.CloseDocument(); });
    // Armed once the settings store has been read (the recent-file list reads
    // it), so the hook runs before the libraries' own clean-up at exit. It may
    // run on the display plugin's own thread, so it leaves the window and the
    // instance socket alone; the next start finds the socket dead and takes
    // it over.
    rpn::SaveAtExit saveAtExit([&calculator] { calculator.SaveOnLostDisplay(); });
    if (!calculator.InitInstance(QApplication::arguments()))
        return 1;
    // A signal during a start-up box has closed the calculator already.
    if (calculator.DocumentClosed())
        return 0;
    instanceServer.SetReceiver([&calculator](const rpn::SecondStart& request) {
        std::optional<std::wstring> path;
        if (request.path)
            path = QFile::decodeName(QByteArray::fromStdString(*request.path)).toStdWString();
        calculator.OnSecondStart(path);
    });
    return QApplication::exec();
}
