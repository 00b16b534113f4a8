#include "app/commandline.h"
#include "app/scriptcommands.h"
#include "core/messages.h"
#include "programnames.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <csignal>
#include <cstdio>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

// The folder of the program's own file, found before any application object exists.
QString ProgramFolder() {
#ifdef Q_OS_WIN
    std::wstring path(32768, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), DWORD(path.size())));
    return QFileInfo(QString::fromStdWString(path)).absolutePath();
#else
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
#endif
}

// Loads the window's module from the program's folder and runs the window.
int RunWindow(int& argc, char** argv, const kst::CommandLine& commandLine) {
    using Run = int (*)(int&, char**, const kst::CommandLine&);
    QLibrary module(QDir(ProgramFolder()).filePath(QStringLiteral(KST_WINDOW_MODULE)));
    const auto run = reinterpret_cast<Run>(module.resolve("KstRunWindow"));
    if (!run) {
        std::fprintf(stderr, "%s\n", qPrintable(kst::NoWindowModuleMessage(module.errorString())));
        return 1;
    }
    return run(argc, argv, commandLine);
}

} // namespace

int main(int argc, char** argv) {
#ifdef SIGXFSZ
    // A file size limit then fails the write with EFBIG, which is reported like any other
    // failed write, instead of killing the program without a word.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    const kst::CommandLine commandLine = kst::ReadCommandLine(argc, argv);
    if (commandLine.exitCode)
        return *commandLine.exitCode;
    if (commandLine.script == kst::ScriptCommand::None)
        return RunWindow(argc, argv, commandLine);
    // A command for scripts needs no display: Qt Core alone, for the program's folder.
    QCoreApplication app(argc, argv);
    QTextStream out(stdout), err(stderr);
    return kst::RunScriptCommand(
        commandLine, QDir(app.applicationDirPath()).filePath(QLatin1String(kst::kDataFileName)),
        out, err);
}
