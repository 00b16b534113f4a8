#include "commandline.h"

#include "core/patch.h"
#include "core/valueexchange.h"
#include "programnames.h"
#include "version.h"

#include <QCommandLineParser>
#include <QStringList>

#include <cstdio>
#include <vector>

#ifdef Q_OS_WIN
#include <QScopeGuard>
#include <windows.h>
#endif

namespace kst {

namespace {

constexpr int kUsageError = 2;

// Takes FILE and one or more settings.
constexpr int kSettings = -1;

// A command for scripts: its option, the files it takes, and what it does.
struct ScriptOption {
    ScriptCommand command;
    const char* name;
    const char* files;
    int count; // or kSettings
    const char* description;
};

constexpr ScriptOption kScriptOptions[] = {
    {ScriptCommand::Values, "values", "FILE", 1,
     "Prints every value of FILE, one a line: name, index, label and value, separated by tabs."},
    {ScriptCommand::Diff, "diff", "ORIGINAL FILE", 2,
     "Prints the values that differ from ORIGINAL to FILE, as Compare lists them; the exit "
     "status is 1 when they differ."},
    {ScriptCommand::MakePatch, "make-patch", "ORIGINAL FILE OUT", 3,
     "Writes the changes from ORIGINAL to FILE into OUT, a BPS or IPS patch by its suffix "
     "(.bps or .ips)."},
    {ScriptCommand::ApplyPatch, "apply-patch", "PATCH FILE", 2,
     "Applies the BPS or IPS patch to FILE in place, once every check has passed, and prints "
     "the values it changed."},
    {ScriptCommand::ExportValues, "export-values", "FILE OUT", 2,
     "Writes every value of FILE into OUT, a CSV or JSON value list by its suffix (.csv or "
     ".json)."},
    {ScriptCommand::ImportValues, "import-values", "IN FILE", 2,
     "Sets the values that IN, a CSV or JSON value list, lists in FILE in place, once every one "
     "has passed its checks, and prints the values it changed."},
    {ScriptCommand::Set, "set", "FILE NAME[INDEX]=NUMBER...", kSettings,
     "Sets each value named, such as shop.motor[0]=450, in FILE in place, once every one has "
     "passed its checks, and prints the values it changed."},
};

QCommandLineOption ScriptFlag(const ScriptOption& option) {
    return QCommandLineOption(QLatin1String(option.name),
                              QStringLiteral("%1: %2").arg(QLatin1String(option.files),
                                                           QLatin1String(option.description)));
}

QString HelpText(const QCommandLineParser& parser) {
    // Without an application object the parser does not know the program's name.
    QString text = parser.helpText();
    text.replace(QStringLiteral("<executable_name>"), QLatin1String(kProgramName));
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
    for (const ScriptOption& option : kScriptOptions)
        parser.addOption(ScriptFlag(option));
    parser.addPositionalArgument(
        QStringLiteral("FILE"),
        QStringLiteral("The ROM image to open at start, in place of choosing one in the dialog."),
        QStringLiteral("[FILE]"));
}

// A command line on which the program ends at once with this status.
CommandLine Ending(int exitCode) {
    CommandLine line;
    line.exitCode = exitCode;
    return line;
}

CommandLine UsageError(const QCommandLineParser& parser, const QString& error) {
    Print(stderr, error + QStringLiteral("\n\n") + HelpText(parser));
    return Ending(kUsageError);
}

// A positional argument as the system's own bytes, which the text may have changed. Another
// argument of the same text can only be a "--" before it, or the same name again.
template <typename Char>
FileName ArgumentName(const QStringList& arguments, Char** argv, const QString& text) {
    return FileName::FromArgument(argv[arguments.indexOf(text)]);
}

// The commands for scripts that the options ask for.
std::vector<const ScriptOption*> ChosenScripts(const QCommandLineParser& parser) {
    std::vector<const ScriptOption*> chosen;
    for (const ScriptOption& option : kScriptOptions)
        if (parser.isSet(QLatin1String(option.name)))
            chosen.push_back(&option);
    return chosen;
}

// The one command for scripts asked for, with its files; a usage error when the files do not
// fit it.
template <typename Char>
CommandLine ReadScriptCommand(const QCommandLineParser& parser, const QStringList& arguments,
                              Char** argv, const ScriptOption& chosen) {
    QStringList files = parser.positionalArguments();
    if (chosen.count == kSettings ? files.size() < 2 : files.size() != chosen.count)
        return UsageError(parser,
                          QStringLiteral("--%1 takes %2.")
                              .arg(QLatin1String(chosen.name), QLatin1String(chosen.files)));
    if (chosen.command == ScriptCommand::MakePatch && !FormatOfName(files.back()))
        return UsageError(parser, QStringLiteral("OUT must end in .bps or .ips."));
    if (chosen.command == ScriptCommand::ImportValues && !ValueFormatOfName(files.front()))
        return UsageError(parser, QStringLiteral("IN must end in .csv or .json."));
    if (chosen.command == ScriptCommand::ExportValues && !ValueFormatOfName(files.back()))
        return UsageError(parser, QStringLiteral("OUT must end in .csv or .json."));
    CommandLine line;
    line.script = chosen.command;
    if (chosen.count == kSettings) {
        line.settings = files.mid(1);
        files = files.mid(0, 1);
    }
    for (const QString& file : files)
        line.scriptFiles << ArgumentName(arguments, argv, file);
    return line;
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
    const std::vector<const ScriptOption*> scripts = ChosenScripts(parser);
    if (scripts.size() > 1)
        return UsageError(parser, QStringLiteral("Only one command for scripts can be given."));
    if (scripts.empty() && parser.positionalArguments().size() > 1)
        return UsageError(parser, QStringLiteral("Only one FILE can be opened."));
    if (parser.isSet(help)) {
        Print(stdout, HelpText(parser));
        return Ending(0);
    }
    if (parser.isSet(version)) {
        Print(stdout, QStringLiteral("%1 %2\n").arg(QLatin1String(kProgramName),
                                                    QLatin1String(kVersionText)));
        return Ending(0);
    }
    if (!scripts.empty())
        return ReadScriptCommand(parser, arguments, argv, *scripts.front());
    if (parser.positionalArguments().isEmpty())
        return {};
    // The name goes on as the system's own bytes, which the text may have changed.
    CommandLine line;
    line.file = ArgumentName(arguments, argv, parser.positionalArguments().constFirst());
    return line;
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
