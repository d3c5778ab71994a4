#include <unistd.h>

#include <QApplication>
#include <QClipboard>
#include <QFile>
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
#include "persist/state_file.h"
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
    const rpn::CommandLine commandLine = rpn::ParseCommandLine(argc, argv, WorkingDirectory());
    if (commandLine.option) {
        const bool misused = commandLine.option == rpn::ProgramOption::Unknown;
        const std::string text = rpn::ProgramOptionText(commandLine);
        std::FILE* stream = misused ? stderr : stdout;
        std::fwrite(text.data(), 1, text.size(), stream);
        return std::fflush(stream) != 0 ? 1 : misused ? 2 : 0;
    }
    // One calculator per user: a later start hands its file to the running
    // one, whose settings would otherwise be overwritten by whichever closes
    // last.
    rpn::InstanceClaim claim;
    if (const std::optional<rpn::InstancePaths> paths = rpn::UserInstancePaths()) {
        claim = rpn::ClaimInstance(*paths, {commandLine.file, qgetenv("DESKTOP_STARTUP_ID").toStdString(),
                                            qgetenv("XDG_ACTIVATION_TOKEN").toStdString()});
        if (claim.result == rpn::ClaimResult::HandedOver)
            return 0;
        if (claim.result == rpn::ClaimResult::NoAnswer) {
            std::fputs("rpn: a calculator is already running but does not answer\n", stderr);
            return 1;
        }
    } else {
        std::fputs("rpn: no private directory for the instance lock; not checking for a running calculator\n", stderr);
    }

    // Qt reads no options of its own from the command line: every argument
    // has been taken above.
    int qtArgumentCount = 1;
    QApplication application(qtArgumentCount, argv);
    QApplication::setStyle(new rpn::DeferredIconStyle);
    rpn::InstanceServer instanceServer(std::move(claim));
    rpn::InstallFontSubstitutions();
    rpn::InstallCalculatorAccessibility();

    rpn::QtProfileStore profile;
    rpn::QtClipboard clipboard(*QGuiApplication::clipboard());
    rpn::QtDialogs dialogs(nullptr, QStringLiteral("Kel's RPN"));
    rpn::StandardFileSystem files;
    rpn::CanberraClickSound click;

    rpn::CRPNApp calculator({profile, clipboard, dialogs, files, click}, rpn::LoadFacePictures());
    dialogs.SetParent(&calculator.Frame());
    dialogs.OpenInFolderOf(calculator.RecentFiles());
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
    // instance socket alone; the lock goes with the process, and the next
    // start replaces the socket.
    rpn::SaveAtExit saveAtExit([&calculator] { calculator.SaveOnLostDisplay(); });
    // Said once, in the words of a state file that cannot be read.
    if (profile.Refused())
        dialogs.ShowMessage(rpn::kFileError);
    QStringList arguments{QString::fromLocal8Bit(argv[0])};
    if (commandLine.file)
        arguments << QFile::decodeName(QByteArray::fromStdString(*commandLine.file));
    if (!calculator.InitInstance(arguments))
        return 1;
    // A signal during a start-up box has closed the calculator already.
    if (calculator.DocumentClosed())
        return 0;
    instanceServer.SetReceiver([&calculator](const rpn::SecondStart& request) { calculator.OnSecondStart(request); });
    return QApplication::exec();
}
