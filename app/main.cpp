#include "app/commandline.h"
#include "app/firstfilehost.h"
#include "app/fonts.h"
#include "app/mainwindow.h"
#include "app/scriptcommands.h"
#include "core/dataroot.h"
#include "widgets/host.h"

#include <QApplication>
#include <QDir>
#include <csignal>
#include <cstdio>

int main(int argc, char** argv) {
#ifdef SIGXFSZ
    // A file size limit then fails the write with EFBIG, which is reported like any other
    // failed write, instead of killing the program without a word.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    const kst::CommandLine commandLine = kst::ReadCommandLine(argc, argv);
    if (commandLine.exitCode)
        return *commandLine.exitCode;
    if (commandLine.script != kst::ScriptCommand::None) {
        // A command for scripts needs no display: Qt Core alone, for the program's folder.
        QCoreApplication app(argc, argv);
        QTextStream out(stdout), err(stderr);
        return kst::RunScriptCommand(
            commandLine, QDir(app.applicationDirPath()).filePath(QStringLiteral("KST.tbl")), out,
            err);
    }
    // The window class and the desktop entry's name tie the window to its launcher in docks.
    QCoreApplication::setApplicationName(QStringLiteral("kestrune-toolbox"));
    QGuiApplication::setDesktopFileName(QStringLiteral("net.kestrune.toolbox"));
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
