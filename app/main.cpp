#include <QApplication>
#include <QClipboard>
#include <QUrl>

#include "app/rpn_app.h"
#include "app/termination_signals.h"
#include "display/render.h"
#include "face/accessibility.h"
#include "face/face_pictures.h"
#include "platform/fonts.h"
#include "platform/qt_clipboard.h"
#include "platform/qt_dialogs.h"
#include "platform/qt_file_system.h"
#include "platform/qt_profile_store.h"
#include "platform/sound.h"

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    rpn::InstallFontSubstitutions();
    rpn::InstallCalculatorAccessibility();

    rpn::QtProfileStore profile;
    rpn::QtClipboard clipboard(*QGuiApplication::clipboard());
    rpn::QtDialogs dialogs(nullptr, QStringLiteral("Kel's RPN"));
    rpn::QtFileSystem files;
    rpn::QtClickSound click(QUrl(QStringLiteral("qrc:/click.wav")));

    rpn::CRPNApp calculator({profile, clipboard, dialogs, files, click}, rpn::LoadFacePicturesLazily());
    // A kill or a logout closes the window like Exit; the last safety net
    // catches a quit that bypassed the window.
    rpn::TerminationSignals termination([&calculator] { calculator.Frame().close(); });
    QObject::connect(&application, &QCoreApplication::aboutToQuit, [&calculator] { calculator.CloseDocument(); });
    if (!calculator.InitInstance(QApplication::arguments()))
        return 1;
    // The window is on its way to the screen; the fonts of its first frame
    // are loaded while the server maps it.
    rpn::PrepareDisplayFonts();
    return QApplication::exec();
}
