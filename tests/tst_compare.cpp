// Comparing images and sharing patches: Compare With Original and its Export Patch..., and the
// commands for scripts, each checked on the whole files they read and write.
#include "app/commandline.h"
#include "app/scriptcommands.h"
#include "core/crc32.h"
#include "core/patch.h"
#include "testsupport.h"

#include <QDialog>
#include <QDir>
#include <QTest>

using namespace kst;
using namespace kst::test;

Q_DECLARE_METATYPE(const kst::Message*)

namespace {

// What the compare window and --diff list from the vectors' base to their target. Of the three
// bytes 0xEA at 0x1A2B, the first is race 26's tire grip.
const QStringList kVectorLines = {
    "Shops",
    "  Buzz Motor price: 300 → 450 ($3,000 → $4,500)",
    "  Slm Body price: 800 → 32000 ($8,000 → $320,000)",
    "Enemy Racers",
    "  Race 12, prize money: 325 → 1234 ($3,250 → $12,340)",
    "  Race 12, enemy racers' AI strength: 6 → 9",
    "  Race 26, enemy racers' tire grip: 10 → 234",
    "Other bytes",
    "  303 other bytes differ, at 0x1A2C–0x1A2D, 0x30000–0x3012B and 0x5FFFF"};

QString About(const QString& file, const QString& text) {
    return QStringLiteral("kestrune-toolbox: %1: %2\n").arg(file, text);
}

// A fresh folder with a KST.tbl, where commands for scripts run on files named {base} and
// {target} (the vectors' images), {short} (the base cut short), {patch} and {out}.
struct ScriptRun {
    QTemporaryDir dir;
    QString out, err;

    explicit ScriptRun(const QByteArray& patch = {}) {
        WriteFile(dir.filePath(QStringLiteral("KST.tbl")), "00= \n");
        WriteFile(Fill("{base}"), PatchVector("base.pce"));
        WriteFile(Fill("{target}"), PatchVector("target.pce"));
        WriteFile(Fill("{short}"), PatchVector("base.pce").left(1000));
        WriteFile(Fill("{patch}"), patch);
    }
    QString Fill(QString text) const {
        for (const char* name : {"base", "target", "short", "patch", "out"})
            text.replace(QStringLiteral("{%1}").arg(QLatin1String(name)),
                         dir.filePath(QLatin1String(name)));
        return text;
    }
    // Runs the command line "kestrune-toolbox ARGUMENTS", its names filled in.
    int Run(const QString& arguments) {
        QList<QByteArray> bytes{"kestrune-toolbox"};
        for (const QString& argument : Fill(arguments).split(QLatin1Char(' ')))
            bytes << argument.toLocal8Bit();
        std::vector<char*> argv;
        for (QByteArray& argument : bytes)
            argv.push_back(argument.data());
        QTextStream outStream(&out), errStream(&err);
        return RunScriptCommand(ReadCommandLine(int(argv.size()), argv.data()),
                                dir.filePath(QStringLiteral("KST.tbl")), outStream, errStream);
    }
};

} // namespace

class TestCompare : public QObject {
    Q_OBJECT

private slots:
    void compare_data() {
        QTest::addColumn<QByteArray>("original");
        QTest::addColumn<QString>("saved");   // the name typed in the save dialog, if it is shown
        QTest::addColumn<QString>("written"); // the file type chosen is the suffix's
        QTest::addColumn<const Message*>("said");
        const QByteArray base = PatchVector("base.pce");
        const auto row = [](const char* name, const QByteArray& original, const char* saved,
                            const char* written, const Message* said = nullptr) {
            QTest::newRow(name) << original << saved << written << said;
        };
        row("BPS, suffix added", base, "shared", "shared.bps");
        row("IPS", base, "shared.ips", "shared.ips");
        row("identical", PatchVector("target.pce"), "shared", "");
        row("wrong size", base.left(10), "", "", &kWrongSizeMessage);
        row("no KST.tbl", base, "", "", &kMissingDataFileMessage);
    }

    // The window lists what differs from the original to the open image, writes the patch the
    // user asks for, and changes neither image; a refused original is said and the image stays
    // open, but without KST.tbl the program ends, as that message says.
    void compare() {
        QFETCH(QByteArray, original);
        QFETCH(QString, saved);
        QFETCH(QString, written);
        QFETCH(const Message*, said);
        const bool table = said != &kMissingDataFileMessage;
        const QByteArray target = PatchVector("target.pce");
        Editor editor;
        editor.StartWith(target);
        const QDir folder(editor.folder());
        const QString originalPath = editor.AddRom(original, QStringLiteral("original.pce"));
        if (!table)
            QFile::remove(folder.filePath(QStringLiteral("KST.tbl")));
        editor.host().answers << FileName::FromText(originalPath);
        editor.host().dialogAnswers << Press(QStringLiteral("&Export Patch..."));
        if (!saved.isEmpty())
            editor.host().saveAnswers
                << qMakePair(folder.filePath(saved), written.endsWith(QLatin1String(".ips"))
                                                         ? QStringLiteral("IPS patch (*.ips)")
                                                         : QStringLiteral("BPS patch (*.bps)"));
        editor.Trigger("mnuCompare");
        QCOMPARE(editor.host().messages.size(), said ? 1 : 0);
        if (said)
            QCOMPARE(editor.host().messages.front().text, said->text);
        QCOMPARE(editor.host().exitCode, table ? -1 : 1);
        if (!said)
            QCOMPARE(editor.host().listed.value(0),
                     original == target
                         ? QStringList{QStringLiteral("No value and no other byte differs.")}
                         : kVectorLines);
        QCOMPARE(ReadFile(originalPath), original);
        QCOMPARE(editor.RomBytes(), target);
        QCOMPARE(folder.entryList({QStringLiteral("*.bps"), "*.ips"}),
                 written.isEmpty() ? QStringList() : QStringList{written});
        if (written.isEmpty())
            return;
        QCOMPARE(ReadFile(folder.filePath(written)),
                 MakePatch(*FormatOfName(written), original, target));
    }

    void scripts_data() {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<QByteArray>("patch");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        QTest::addColumn<QByteArray>("after"); // what {base} holds afterwards
        const QByteArray base = PatchVector("base.pce"), target = PatchVector("target.pce");
        const QByteArray delta = PatchVector("flips-delta.bps"), ips = PatchVector("flips.ips");
        QByteArray flipped = delta, pastEnd = ips;
        flipped[17] = char(flipped[17] ^ 0x40);
        pastEnd[5] = 0x06; // the first record moves to 0x061945
        const QString listed = kVectorLines.join(QLatin1Char('\n')) + QLatin1Char('\n');
        const auto row = [](const char* name, const char* arguments, const QByteArray& patch,
                            int status, const QString& out, const QString& err,
                            const QByteArray& after) {
            QTest::newRow(name) << arguments << patch << status << out << err << after;
        };
        const auto refused = [&](const char* name, const QByteArray& patch, const QString& why,
                                 const char* file = "{base}") {
            row(name, qPrintable(QStringLiteral("--apply-patch {patch} ") + file), patch, 1, "",
                About(QStringLiteral("{patch}"), PatchRefusedMessage(why).text), base);
        };
        row("diff", "--diff {base} {target}", {}, 1, listed, "", base);
        row("diff, the same", "--diff {base} {base}", {}, 0, "", "", base);
        row("diff, refused", "--diff {short} {base}", {}, 1, "",
            About(QStringLiteral("{short}"), kWrongSizeMessage.text), base);
        row("BPS delta", "--apply-patch {patch} {base}", delta, 0, listed, "", target);
        row("BPS linear", "--apply-patch {patch} {base}", PatchVector("flips-linear.bps"), 0,
            listed, "", target);
        row("IPS", "--apply-patch {patch} {base}", ips, 0, listed, "", target);
        row("make BPS", "--make-patch {base} {target} {out}.bps", {}, 0, "", "", base);
        row("make IPS", "--make-patch {base} {target} {out}.IPS", {}, 0, "", "", base);
        refused("BPS, flipped byte", flipped, patchtext::kDamaged);
        refused("BPS, truncated", delta.left(40), patchtext::kDamaged);
        refused("BPS, wrong base", delta,
                patchtext::MadeForAnotherImage(kRomSize, Crc32(base), kRomSize, Crc32(target)),
                "{target}");
        refused("BPS, another size made", MakeBps(base, base + 'x'),
                patchtext::ChangesSize(kRomSize, kRomSize + 1));
        refused("IPS, truncated", ips.chopped(3), patchtext::kNoEndMarker);
        refused("IPS, past the end", pastEnd, patchtext::PastTheEnd(0x61945, 3, kRomSize));
        refused("IPS, cut to another size", ips + QByteArray("\x05\xFF\xFF", 3),
                patchtext::ChangesSize(kRomSize, 0x5FFFF));
        refused("neither", "PATCE", patchtext::kNotAPatch);
    }

    // Each command prints exactly what it should on each stream and ends with its status. The
    // third-party patches give the target byte for byte; a refused patch leaves every image as
    // it was; a made patch gives the target from the base and is no larger than the third-party
    // linear BPS or IPS.
    void scripts() {
        QFETCH(QString, arguments);
        QFETCH(QByteArray, patch);
        QFETCH(int, status);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QFETCH(QByteArray, after);
        ScriptRun run(patch);
        QCOMPARE(run.Run(arguments), status);
        QCOMPARE(run.err, run.Fill(err));
        QCOMPARE(run.out, out);
        QVERIFY(ReadFile(run.Fill("{base}")) == after);
        QVERIFY(ReadFile(run.Fill("{target}")) == PatchVector("target.pce"));
        const QString made = run.Fill(arguments.section(QLatin1Char(' '), -1));
        if (!made.contains(QLatin1String("/out.")))
            return;
        const PatchFormat format = *FormatOfName(made);
        const QByteArray bytes = ReadFile(made);
        QCOMPARE(bytes, MakePatch(format, PatchVector("base.pce"), PatchVector("target.pce")));
        QVERIFY(bytes.size() <=
                PatchVector(format == PatchFormat::Bps ? "flips-linear.bps" : "flips.ips").size());
    }

    // Every value, one a line: name, index, label and value.
    void values() {
        ScriptRun run;
        QCOMPARE(run.Run(QStringLiteral("--values {base}")), 0);
        const QStringList lines = run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 10 + 13 + 6 + 12 + 8 + 38 * 4);
        QCOMPARE(lines.front(), QStringLiteral("shop.motor\t0\tBuzz Motor price\t300"));
        QVERIFY(
            lines.contains(QStringLiteral("race.ai\t11\tRace 12, enemy racers' AI strength\t6")));
    }
};

QTEST_MAIN(TestCompare)
#include "tst_compare.moc"
