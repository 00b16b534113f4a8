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

// What a dialog or --diff lists for a diff: each page's name, then its lines indented.
QStringList Listed(const QByteArray& before, const QByteArray& after) {
    QStringList lines;
    for (const DiffGroup& group : DescribeDiff(DiffImages(before, after))) {
        lines << group.title;
        for (const QString& line : group.lines)
            lines << QStringLiteral("  ") + line;
    }
    return lines;
}

CommandLine Read(const QStringList& arguments) {
    QList<QByteArray> bytes{"kestrune-toolbox"};
    for (const QString& argument : arguments)
        bytes << argument.toLocal8Bit();
    std::vector<char*> argv;
    for (QByteArray& argument : bytes)
        argv.push_back(argument.data());
    return ReadCommandLine(int(argv.size()), argv.data());
}

QString About(const QString& file, const QString& text) {
    return QStringLiteral("kestrune-toolbox: %1: %2\n").arg(file, text);
}

} // namespace

class TestCompare : public QObject {
    Q_OBJECT

private slots:
    void compare_data() {
        QTest::addColumn<QByteArray>("original");
        QTest::addColumn<bool>("table");
        QTest::addColumn<QString>("saved"); // the name typed in the save dialog; none: no export
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("written");
        QTest::addColumn<const Message*>("said");
        const QByteArray base = PatchVector("base.pce");
        QByteArray swapped = base;
        PutWord(swapped, 0, 0x4C40);
        const QString bps = QStringLiteral("BPS patch (*.bps)");
        const QString ips = QStringLiteral("IPS patch (*.ips)");
        const auto row = [](const char* name, const QByteArray& original, const char* saved,
                            const QString& filter, const char* written,
                            const Message* said = nullptr, bool table = true) {
            QTest::newRow(name) << original << table << saved << filter << written << said;
        };
        row("BPS, suffix added", base, "shared", bps, "shared.bps");
        row("IPS", base, "shared.ips", ips, "shared.ips");
        row("export cancelled", base, "", {}, "");
        row("identical", PatchVector("target.pce"), "", {}, "");
        row("wrong size", base.left(10), "", {}, "", &kWrongSizeMessage);
        row("wrong region", swapped, "", {}, "", &kWrongRegionMessage);
        row("no KST.tbl", base, "", {}, "", &kMissingDataFileMessage, false);
    }

    // The window lists what differs from the original to the open image, writes the patch the
    // user asks for, and changes neither image; a refused original is said and the image stays
    // open, but without KST.tbl the program ends, as that message says.
    void compare() {
        QFETCH(QByteArray, original);
        QFETCH(bool, table);
        QFETCH(QString, saved);
        QFETCH(QString, filter);
        QFETCH(QString, written);
        QFETCH(const Message*, said);
        const QByteArray target = PatchVector("target.pce");
        Editor editor;
        editor.StartWith(target);
        const QDir folder(editor.folder());
        const QString originalPath = editor.AddRom(original, QStringLiteral("original.pce"));
        if (!table)
            QFile::remove(folder.filePath(QStringLiteral("KST.tbl")));
        editor.host().answers << originalPath;
        editor.host().dialogAnswers << Press(QStringLiteral("&Export Patch..."));
        if (!saved.isEmpty())
            editor.host().saveAnswers << qMakePair(folder.filePath(saved), filter);
        editor.Trigger("mnuCompare");
        QCOMPARE(editor.host().messages.size(), said ? 1 : 0);
        if (said)
            QCOMPARE(editor.host().messages.front().text, said->text);
        QCOMPARE(editor.host().exitCode, table ? -1 : 1);
        if (!said)
            QCOMPARE(editor.host().listed.value(0),
                     original == target
                         ? QStringList{QStringLiteral("No value and no other byte differs.")}
                         : Listed(original, target));
        QCOMPARE(ReadFile(originalPath), original);
        QCOMPARE(editor.RomBytes(), target);
        const QStringList patches = folder.entryList({QStringLiteral("*.bps"), "*.ips"});
        QCOMPARE(patches, written.isEmpty() ? QStringList() : QStringList{written});
        if (written.isEmpty())
            return;
        const QByteArray patch = ReadFile(folder.filePath(written));
        QVERIFY(patch.startsWith(FormatOfName(written) == PatchFormat::Bps ? "BPS1" : "PATCH"));
        QVERIFY(ApplyPatch(patch, original).image == target);
    }

    void scripts_data() {
        // {base}, {target}, {short}, {patch} and {out} are files in a fresh folder; {base}
        // and {target} hold the vectors' images, {short} the base cut short.
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("patch");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        QTest::addColumn<QByteArray>("after"); // what {base} holds afterwards
        const QByteArray base = PatchVector("base.pce"), target = PatchVector("target.pce");
        const QByteArray delta = PatchVector("flips-delta.bps"), ips = PatchVector("flips.ips");
        QByteArray flipped = delta;
        flipped[17] = char(flipped[17] ^ 0x40);
        const QString listed = Listed(base, target).join(QLatin1Char('\n')) + QLatin1Char('\n');
        const auto refused = [](const QString& why) {
            return About(QStringLiteral("{patch}"), PatchRefusedMessage(why).text);
        };
        const auto row = [](const char* name, const char* arguments, const QByteArray& patch,
                            int status, const QString& out, const QString& err,
                            const QByteArray& after) {
            QTest::newRow(name) << QString::fromLatin1(arguments).split(QLatin1Char(' ')) << patch
                                << status << out << err << after;
        };
        row("diff", "--diff {base} {target}", {}, 1, listed, "", base);
        row("diff, the same", "--diff {base} {base}", {}, 0, "", "", base);
        row("diff, refused", "--diff {short} {base}", {}, 1, "",
            About(QStringLiteral("{short}"), kWrongSizeMessage.text), base);
        row("BPS delta", "--apply-patch {patch} {base}", delta, 0, listed, "", target);
        row("BPS linear", "--apply-patch {patch} {base}", PatchVector("flips-linear.bps"), 0,
            listed, "", target);
        row("IPS", "--apply-patch {patch} {base}", ips, 0, listed, "", target);
        row("BPS, flipped byte", "--apply-patch {patch} {base}", flipped, 1, "",
            refused(patchtext::kDamaged), base);
        row("BPS, truncated", "--apply-patch {patch} {base}", delta.left(40), 1, "",
            refused(patchtext::kDamaged), base);
        row("BPS, wrong base", "--apply-patch {patch} {target}", delta, 1, "",
            refused(patchtext::MadeForAnotherImage(kRomSize, Crc32(base), kRomSize, Crc32(target))),
            base);
        row("IPS, truncated", "--apply-patch {patch} {base}", ips.chopped(3), 1, "",
            refused(patchtext::kNoEndMarker), base);
        row("make BPS", "--make-patch {base} {target} {out}.bps", {}, 0, "", "", base);
        row("make IPS", "--make-patch {base} {target} {out}.IPS", {}, 0, "", "", base);
    }

    // Each command prints exactly what it should on each stream and ends with its status; a
    // refused patch leaves every image as it was, an applied one gives the target byte for
    // byte, and a made patch gives the target from the base.
    void scripts() {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, patch);
        QFETCH(int, status);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QFETCH(QByteArray, after);
        const QByteArray base = PatchVector("base.pce"), target = PatchVector("target.pce");
        QTemporaryDir dir;
        const auto fill = [&](QString text) {
            for (const char* name : {"base", "target", "short", "patch", "out"})
                text.replace(QStringLiteral("{%1}").arg(QLatin1String(name)),
                             dir.filePath(QLatin1String(name)));
            return text;
        };
        WriteFile(fill("{base}"), base);
        WriteFile(fill("{target}"), target);
        WriteFile(fill("{short}"), base.left(1000));
        WriteFile(fill("{patch}"), patch);
        WriteFile(dir.filePath(QStringLiteral("KST.tbl")), "00= \n");
        QString printed, said;
        QTextStream outStream(&printed), errStream(&said);
        QStringList filled;
        for (const QString& argument : std::as_const(arguments))
            filled << fill(argument);
        const int ended = RunScriptCommand(Read(filled), dir.filePath(QStringLiteral("KST.tbl")),
                                           outStream, errStream);
        outStream.flush();
        errStream.flush();
        QCOMPARE(said, fill(err));
        QCOMPARE(printed, out);
        QCOMPARE(ended, status);
        QVERIFY(ReadFile(fill("{base}")) == after);
        QVERIFY(ReadFile(fill("{target}")) == target);
        if (!filled.back().contains(QLatin1String("/out.")))
            return;
        const QByteArray made = ReadFile(filled.back());
        QVERIFY(ApplyPatch(made, base).image == target);
    }

    // Every value, one a line, in the table's order.
    void values() {
        QTemporaryDir dir;
        WriteFile(dir.filePath(QStringLiteral("KST.tbl")), "00= \n");
        QString printed, said;
        QTextStream out(&printed), err(&said);
        const int status = RunScriptCommand(Read({"--values", PatchVectorPath("base.pce")}),
                                            dir.filePath(QStringLiteral("KST.tbl")), out, err);
        out.flush();
        const QStringList lines = printed.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(status, 0);
        QCOMPARE(lines.size(), 10 + 13 + 6 + 12 + 8 + 38 * 4);
        QCOMPARE(lines.front(), QStringLiteral("shop.motor\t0\tBuzz Motor price\t300"));
        QVERIFY(
            lines.contains(QStringLiteral("race.ai\t11\tRace 12, enemy racers' AI strength\t6")));
        QVERIFY(said.isEmpty());
    }

    void usage_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("script"); // the command read, or -1 for a usage error
        QTest::newRow("too few files") << QStringList{"--diff", "a"} << -1;
        QTest::newRow("two commands") << QStringList{"--values", "a", "--diff", "b"} << -1;
        QTest::newRow("no patch suffix") << QStringList{"--make-patch", "a", "b", "c.txt"} << -1;
        QTest::newRow("two images to open") << QStringList{"a", "b"} << -1;
        QTest::newRow("apply") << QStringList{"--apply-patch", "p", "f"}
                               << int(ScriptCommand::ApplyPatch);
    }

    void usage() {
        QFETCH(QStringList, arguments);
        QFETCH(int, script);
        const CommandLine line = Read(arguments);
        QCOMPARE(line.exitCode.value_or(-1), script < 0 ? 2 : -1);
        QCOMPARE(int(line.script), qMax(script, 0));
    }
};

QTEST_MAIN(TestCompare)
#include "tst_compare.moc"
