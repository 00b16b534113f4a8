// Tools > Run in Emulator: the chosen program started on the open image with the arguments made
// from the template, once the unapplied values are settled, and each reason it cannot start said
// with nothing else changed. The stand-in emulator is this very program, which records its
// arguments when started with KST_STANDIN_RECORD set.
#include "core/dataroot.h"
#include "core/messages.h"
#include "testsupport.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QTest>

using namespace kst;
using namespace kst::test;

namespace {

const char kRecord[] = "KST_STANDIN_RECORD";
enum Reply { Apply, Discard, Cancel, NotAsked = -1 };

// As the stand-in: appends its arguments, separated by tabs, as one line of the record.
int RecordArguments(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QFile record(qEnvironmentVariable(kRecord));
    if (!record.open(QIODevice::Append))
        return 1;
    record.write((app.arguments().mid(1).join(QLatin1Char('\t')) + QLatin1Char('\n')).toUtf8());
    return 0;
}

// The runs in any order: two stand-ins started one after the other may end the other way round.
QStringList RecordedRuns(const QString& record) {
    QStringList runs =
        QString::fromUtf8(ReadFile(record)).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    runs.sort();
    return runs;
}

} // namespace

class TestEmulator : public QObject {
    Q_OBJECT

    // Whether each dialog refused a template without %f and gave each label with a shortcut
    // key its box.
    bool dialogsRight_ = true;

    // Tools > Emulator... as the user answers it: a template without %f is refused first, then
    // the program (or the one browsed to) and the arguments are taken.
    std::function<int(QDialog&)> Choose(const QString& program, const QString& arguments,
                                        bool browse = false) {
        return [=](QDialog& dialog) {
            auto* ok = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
            auto* template_ = Child<QLineEdit>(&dialog, "EmulatorArgumentsTXT");
            template_->setText(QStringLiteral("--rom"));
            dialogsRight_ = dialogsRight_ && !ok->isEnabled() &&
                            !Child<QLabel>(&dialog, "EmulatorRefusalLBL")->isHidden();
            for (const QLabel* label : dialog.findChildren<QLabel*>())
                dialogsRight_ =
                    dialogsRight_ && (!label->text().contains(QLatin1Char('&')) || label->buddy());
            template_->setText(arguments);
            if (browse)
                Child<QPushButton>(&dialog, "EmulatorBrowseCMD")->click();
            else
                Child<QLineEdit>(&dialog, "EmulatorProgramTXT")->setText(program);
            ok->click();
            return dialog.result();
        };
    }

private slots:
    void run_data() {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<int>("reply");
        QTest::addColumn<QStringList>("started"); // its arguments, %f the image's path
        QTest::addColumn<QString>("reason");      // of the message, if any
        const auto row = [](const char* name, const char* program, const char* arguments,
                            Reply reply, const QStringList& started, const QString& reason = {}) {
            QTest::newRow(name) << program << arguments << int(reply) << started << reason;
        };
        row("spaces, quotes and %f twice; Apply", "stand-in", R"(-x "two words" --rom=%f """%f""")",
            Apply, {"-x", "two words", "--rom=%f", "\"%f\""});
        row("a name on the PATH; Discard", "by name", "%f", Discard, {"%f"});
        row("none chosen: the dialog first", "none", "%f", Apply, {"%f"});
        row("Cancel starts nothing", "stand-in", "%f", Cancel, {});
        row("missing", "missing", "%f", NotAsked, {}, kNoSuchProgram);
        row("not a program", "text file", "%f", NotAsked, {}, kNotAProgram);
#ifdef Q_OS_WIN
        // The system's own words for a file that is no Windows program (ERROR_BAD_EXE_FORMAT).
        const QString unstartable = qt_error_string(193)
                                        .section(QStringLiteral("%1"), -1)
                                        .remove(QRegularExpression(QStringLiteral("\\.\\s*$")));
#else
        const QString unstartable = QStringLiteral("No such file or directory");
#endif
        row("fails to start", "broken", "%f", Apply, {}, unstartable);
    }

    // F5 with a price typed: the question, the file as written, what started with which
    // arguments, or the message; then F5 again starts another, and only that.
    void run() {
        QFETCH(QString, program);
        QFETCH(QString, arguments);
        QFETCH(int, reply);
        QFETCH(QStringList, started);
        QFETCH(QString, reason);
        dialogsRight_ = true;
        Editor editor;
        const QDir folder(editor.Folder());
        // A "portable" file beside the program keeps the choice in the "data" folder beside it.
        WriteFile(folder.filePath(QStringLiteral("portable")), {});
        ChooseDataRoot(folder.path());
        editor.StartWith(ValidRom(), QStringLiteral("my game.pce"));
        const QString image = QDir::toNativeSeparators(editor.Rom());
        const QString record = folder.filePath(QStringLiteral("record"));
        qputenv(kRecord, record.toUtf8());
        QVERIFY(folder.mkdir(QStringLiteral("my emulators")));
        const QString standIn = folder.filePath(QStringLiteral("my emulators/stand in.exe"));
        QVERIFY(QFile::copy(QCoreApplication::applicationFilePath(), standIn));
        WriteFile(folder.filePath("notes.txt"), "not a program\n");
#ifdef Q_OS_WIN
        const QString broken = folder.filePath(QStringLiteral("broken.exe"));
        WriteFile(broken, "not a program\n");
#else
        const QString broken = folder.filePath(QStringLiteral("broken"));
        WriteFile(broken, "#!/no/such/interpreter\n");
        QFile(broken).setPermissions(QFile::ReadOwner | QFile::ExeOwner);
#endif
        qputenv("PATH", QDir::toNativeSeparators(folder.filePath("my emulators")).toUtf8() +
                            QDir::listSeparator().toLatin1() + qgetenv("PATH"));
        const QHash<QString, QString> programs{{"stand-in", standIn},
                                               {"by name", QFileInfo(standIn).fileName()},
                                               {"none", ""},
                                               {"missing", folder.filePath("no such emulator")},
                                               {"text file", folder.filePath("notes.txt")},
                                               {"broken", broken}};
        FakeHost& host = editor.Desktop();
        host.dialogAnswers << Choose(programs[program], arguments);
        if (program == QLatin1String("none")) {
            host.answers << FileName::FromText(standIn);
            host.dialogAnswers << Choose(QString(), arguments, true);
        }
        editor.Trigger("mnuEmulator");
        const QSettings kept(folder.filePath("data/kestrune-toolbox/kestrune-toolbox.ini"),
                             QSettings::IniFormat);
        QCOMPARE(kept.value("Emulator/program").toString(), programs[program]);
        const QByteArray original = editor.RomBytes();
        editor.TypeInto("MotorCostTXT", QStringLiteral("450"));
        host.replies << reply;
        editor.Trigger("mnuRunEmulator");

        QVERIFY(dialogsRight_);
        QCOMPARE(host.questions.size(), reply == NotAsked ? 0 : 1);
        QCOMPARE(editor.ChangedFrom(reply == Apply ? With(original, "w0x179C6=450") : original),
                 QList<int>{});
        const QString said = host.messages.value(0).text;
        QCOMPARE(host.messages.size(), reason.isEmpty() ? 0 : 1);
        QVERIFY2(reason.isEmpty() || (said.contains(programs[program]) && said.contains(reason)),
                 qPrintable(said));
        // Appends of two stand-ins at once may overwrite each other on Windows, so the second
        // starts only once the first has recorded its run.
        if (!started.isEmpty())
            QTRY_COMPARE(RecordedRuns(record).size(), 1);
        host.replies.clear();
        host.unscriptedReply = Discard;
        host.dialogAnswers << Choose(standIn, QStringLiteral("again %f"));
        editor.Trigger("mnuEmulator");
        editor.Trigger("mnuRunEmulator");
        QStringList runs;
        if (!started.isEmpty())
            runs << started.replaceInStrings(QStringLiteral("%f"), image).join(QLatin1Char('\t'));
        runs << QStringLiteral("again\t") + image;
        runs.sort();
        QTRY_COMPARE(RecordedRuns(record), runs);
    }
};

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsSet(kRecord))
        return RecordArguments(argc, argv);
    QApplication app(argc, argv);
    TestEmulator test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_emulator.moc"
