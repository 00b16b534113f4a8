#include "app/commandline.h"
#include "app/firstfilehost.h"
#include "app/fonts.h"
#include "app/mainwindow.h"
#include "widgets/host.h"

#include <QApplication>
#include <csignal>

int main(int argc, char** argv) {
#ifdef SIGXFSZ
    // A file size limit then fails the write with EFBIG, which is reported like any other
    // failed write, instead of killing the program without a word.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    const kst::CommandLine commandLine = kst::ReadCommandLine(argc, argv);
    if (commandLine.exitCode)
        return *commandLine.exitCode;
    // The window class and the desktop entry's name tie the window to its launcher in docks.
    QCoreApplication::setApplicationName(QStringLiteral("kestrune-toolbox"));
    QGuiApplication::setDesktopFileName(QStringLiteral("net.kestrune.toolbox"));
    QApplication app(argc, argv);
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
