#include "emulatorcommands.h"

#include "core/imagefile.h"
#include "core/messages.h"
#include "emulatordialog.h"
#include "programnames.h"
#include "ui_mainwindow.h"
#include "widgets/programcontrol.h"

#include <QDir>
#include <QFileInfo>
#include <QMainWindow>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>

namespace kst {

namespace {

const QString kProgramKey = QStringLiteral("Emulator/program");
const QString kArgumentsKey = QStringLiteral("Emulator/arguments");

// An INI file on Windows too, where the program's folder is all it installs: no registry.
QSettings Settings() {
    const QString name = QLatin1String(kProgramName);
    return QSettings(QSettings::IniFormat, QSettings::UserScope, name, name);
}

// The emulator offered while the user has chosen none: Debian's Mednafen, when installed.
QString DefaultProgram() {
#ifdef Q_OS_WIN
    return {};
#else
    const QString games = QStringLiteral("/usr/games/mednafen");
    return QFileInfo(games).isExecutable()
               ? games
               : QStandardPaths::findExecutable(QStringLiteral("mednafen"));
#endif
}

struct Emulator {
    QString program;
    QString arguments;
};

Emulator ChosenEmulator() {
    const QSettings settings = Settings();
    return {settings.value(kProgramKey, DefaultProgram()).toString(),
            settings.value(kArgumentsKey, QStringLiteral("%f")).toString()};
}

// A bare name such as "mednafen" is looked for on the PATH, as a shell would.
QString Located(const QString& program) {
    if (QFileInfo(program).fileName() != program)
        return program;
    const QString found = QStandardPaths::findExecutable(program);
    return found.isEmpty() ? program : found;
}

// Why the program cannot be run, in plain words, or nothing when it looks runnable.
QString WhyNotRunnable(const QString& program) {
    const QFileInfo file(program);
    if (!file.exists())
        return kNoSuchProgram;
    if (!file.isFile() || !file.isExecutable())
        return kNotAProgram;
    return {};
}

// The system's reason why the process did not start.
QString SystemReason(const QProcess& process) {
#ifdef Q_OS_WIN
    // Qt's text only says that it failed; the system's reason is still the thread's last error,
    // whose text may name the program as "%1".
    static const QRegularExpression kEnd(QStringLiteral("\\.\\s*$"));
    return qt_error_string()
        .replace(QLatin1String("%1"), QDir::toNativeSeparators(process.program()))
        .remove(kEnd);
#else
    // Without the name of the call that failed ("execv: ").
    static const QRegularExpression kCall(QStringLiteral("^\\w+: "));
    return process.errorString().remove(kCall);
#endif
}

} // namespace

EmulatorCommands::EmulatorCommands(QMainWindow* window, const Ui::Main& form,
                                   ProgramControl& control, const FileName& image,
                                   std::function<bool()> ready)
    : window_(window), control_(control), image_(image), ready_(std::move(ready)) {
    control_.Connect(form.mnuRunEmulator, &QAction::triggered, window, [this] { Run(); });
    control_.Connect(form.mnuEmulator, &QAction::triggered, window, [this] { Configure(); });
}

bool EmulatorCommands::Configure() {
    const Emulator chosen = ChosenEmulator();
    EmulatorDialog dialog(window_, control_.Desktop(), chosen.program, chosen.arguments);
    if (control_.Desktop().RunDialog(dialog) != QDialog::Accepted)
        return false;
    QSettings settings = Settings();
    settings.setValue(kProgramKey, dialog.Program());
    settings.setValue(kArgumentsKey, dialog.Arguments());
    return true;
}

void EmulatorCommands::Run() {
    if (ChosenEmulator().program.isEmpty() && !Configure())
        return;
    const Emulator chosen = ChosenEmulator();
    if (chosen.program.isEmpty())
        return;
    const QString program = Located(chosen.program);
    const QString path = image_.Text();
    QString reason = WhyNotRunnable(program);
    if (reason.isEmpty() && FileName::FromText(path).Native() != image_.Native())
        reason = kNameNotPassable;
    if (!reason.isEmpty()) {
        control_.Desktop().ShowMessage(window_, EmulatorNotStartedMessage(chosen.program, reason));
        return;
    }
    if (!ready_())
        return;
    QStringList arguments = QProcess::splitCommand(chosen.arguments);
    // The name's text is in the system's own form already: backslashes on Windows.
    for (QString& argument : arguments)
        argument.replace(QLatin1String("%f"), path);
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    if (!process.startDetached())
        control_.Desktop().ShowMessage(
            window_, EmulatorNotStartedMessage(chosen.program, SystemReason(process)));
}

} // namespace kst
