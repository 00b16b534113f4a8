#include "commandline.h"
#include "core/dataroot.h"
#include "firstfilehost.h"
#include "fonts.h"
#include "mainwindow.h"
#include "programnames.h"
#include "widgets/host.h"

#include <QApplication>

// The window's half of the program. It lives in a module of its own, which the program loads
// only when a window is wanted: the commands for scripts then start with Qt Core alone, in a
// third of the time that loading the window's libraries takes.
extern "C" Q_DECL_EXPORT int KstRunWindow(int& argc, char** argv,
                                          const kst::CommandLine& commandLine) {
    // The window class and the desktop entry's name tie the window to its launcher in docks.
    QCoreApplication::setApplicationName(QLatin1String(kst::kProgramName));
    QGuiApplication::setDesktopFileName(QLatin1String(kst::kDesktopId));
    QApplication app(argc, argv);
    kst::ChooseDataRoot(app.applicationDirPath());
    kst::LoadWindowFonts();
    kst::DesktopHost desktop;
    kst::FirstFileHost host(desktop, commandLine.file);
    kst::MainWindow window(host);
    window.Start();
    if (desktop.Ended())
        return desktop.ExitCode();
    window.show();
    return app.exec();
}
