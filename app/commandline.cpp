#include "commandline.h"

#include "version.h"

#include <QCommandLineParser>
#include <QStringList>

#include <cstdio>

#ifdef Q_OS_WIN
#include <QScopeGuard>
#include <windows.h>
#endif

namespace kst {

namespace {

constexpr int kUsageError = 2;
const QString kProgramName = QStringLiteral("kestrune-toolbox");

QString HelpText(const QCommandLineParser& parser) {
    // Without an application object the parser does not know the program's name.
    QString text = parser.helpText();
    text.replace(QStringLiteral("<executable_name>"), kProgramName);
    return text;
}

void Print(std::FILE* stream, const QString& text) {
#ifdef Q_OS_WIN
    // A window program starts without a console: it prints into the console of the prompt it
    // was started from, if any, unless its output goes to a file or pipe.
    if (!::GetStdHandle(stream == stdout ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE) &&
        ::AttachConsole(ATTACH_PARENT_PROCESS))
        std::freopen("CONOUT$", "w", stream);
#endif
    std::fputs(text.toLocal8Bit().constData(), stream);
}

#ifdef Q_OS_WIN
QString TextOf(const wchar_t* argument) {
    return QString::fromWCharArray(argument);
}
#else
QString TextOf(const char* argument) {
    return QString::fromLocal8Bit(argument);
}
#endif

void Describe(QCommandLineParser& parser, const QCommandLineOption& help,
              const QCommandLineOption& version) {
    parser.setApplicationDescription(
        QStringLiteral("Edits shop prices, prize money and enemy racers in a Kestrune ROM image."));
    parser.addOptions({help, version});
    parser.addPositionalArgument(
        QStringLiteral("FILE"),
        QStringLiteral("The ROM image to open at start, in place of choosing one in the dialog."),
        QStringLiteral("[FILE]"));
}

CommandLine UsageError(const QCommandLineParser& parser, const QString& error) {
    Print(stderr, error + QStringLiteral("\n\n") + HelpText(parser));
    return {kUsageError, {}};
}

template <typename Char> CommandLine Read(int argc, Char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << TextOf(argv[i]);

    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Shows this help and ends."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Shows the version and ends."));
    QCommandLineParser parser;
    Describe(parser, help, version);
    if (!parser.parse(arguments))
        return UsageError(parser, parser.errorText());
    if (parser.positionalArguments().size() > 1)
        return UsageError(parser, QStringLiteral("Only one FILE can be opened."));
    if (parser.isSet(help)) {
        Print(stdout, HelpText(parser));
        return {0, {}};
    }
    if (parser.isSet(version)) {
        Print(stdout, QStringLiteral("%1 %2\n").arg(kProgramName, QLatin1String(kVersionText)));
        return {0, {}};
    }
    if (parser.positionalArguments().isEmpty())
        return {};
    // The name goes on as the system's own bytes, which the text may have changed. Another
    // argument of the same text can only be a "--" before it, with the same bytes.
    const int file = int(arguments.indexOf(parser.positionalArguments().constFirst()));
    return {{}, FileName::FromArgument(argv[file])};
}

} // namespace

CommandLine ReadCommandLine(int argc, char** argv) {
#ifdef Q_OS_WIN
    // The arguments main gets hold only what the ANSI code page can; the wide command line
    // holds every name.
    Q_UNUSED(argc)
    Q_UNUSED(argv)
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    const auto release = qScopeGuard([wide] { ::LocalFree(wide); });
    return Read(count, wide);
#else
    return Read(argc, argv);
#endif
}

} // namespace kst
