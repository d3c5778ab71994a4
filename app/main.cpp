#include <QApplication>
#include <QClipboard>
#include <QTimer>
#include <QUrl>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "app/rpn_app.h"
#include "app/termination_signals.h"
#include "face/accessibility.h"
#include "face/face_pictures.h"
#include "persist/standard_file_system.h"
#include "platform/fonts.h"
#include "platform/qt_clipboard.h"
#include "platform/qt_dialogs.h"
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
    rpn::StandardFileSystem files;
    rpn::QtClickSound click(QUrl(QStringLiteral("qrc:/click.wav")));

    rpn::CRPNApp calculator({profile, clipboard, dialogs, files, click}, rpn::LoadFacePicturesLazily());
    dialogs.SetParent(&calculator.Frame());
    // A kill or a logout closes the window like Exit; the last safety net
    // catches a quit that bypassed the window.
    rpn::TerminationSignals termination([&calculator] { calculator.Frame().close(); });
    QObject::connect(&application, &QCoreApplication::aboutToQuit, [&calculator] { calculator.CloseDocument(); });
    if (!calculator.InitInstance(QApplication::arguments()))
        return 1;
#ifdef __GLIBC__
    // Starting allocates and frees a few megabytes (the X connection's and
    // the font loader's buffers, the pictures' copies) that the allocator
    // would keep for the whole session; a moment after the first frame they
    // go back to the system.
    QTimer::singleShot(250, [] { malloc_trim(0); });
#endif
    return QApplication::exec();
}
