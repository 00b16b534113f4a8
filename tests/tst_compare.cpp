// Comparing images and sharing patches: Compare With Original and its Export Patch..., and the
// commands for scripts, run as the program itself, each checked on the whole files they read
// and write.
#include "core/crc32.h"
#include "core/messages.h"
#include "core/patch.h"
#include "core/valueexchange.h"
#include "testsupport.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QProcess>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>
#include <QtEndian>

#include <sys/mount.h>
#include <sys/stat.h>

using namespace kst;
using namespace kst::test;

namespace {

// How a file holds an image: as it is, after a copier header, with each byte's bits reversed.
enum class Dump { Plain, Headered, Reversed };

QByteArray AsDumped(const QByteArray& image, Dump dump) {
    if (dump == Dump::Reversed)
        return BitReversed(image);
    return dump == Dump::Headered ? CopierHeader() + image : image;
}

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

const QStringList kPatchFiles = {QStringLiteral("*.bps"), QStringLiteral("*.ips")};

QString About(const QString& file, const QString& text) {
    return QStringLiteral("kestrune-toolbox: %1: %2\n").arg(file, text);
}

// n as a BPS number: seven bits a byte, lowest first, each further byte counting one more.
QByteArray BpsNumber(quint64 n) {
    QByteArray bytes;
    for (; n >= 0x80; n = (n >> 7) - 1)
        bytes += char(n & 0x7F);
    return bytes + char(0x80 | n);
}

// n in ten bytes, as a reader that keeps only 64 bits gets it: the last byte's 2 * 2^63 wraps.
QByteArray Overlong(quint64 n) {
    QByteArray bytes;
    for (int k = 1; k <= 9; ++k)
        n -= quint64(1) << 7 * k;
    for (int k = 0; k < 9; ++k)
        bytes += char(n >> 7 * k & 0x7F);
    return bytes + char(0x82);
}

QByteArray Le32(quint32 n) {
    n = qToLittleEndian(n);
    return QByteArray(reinterpret_cast<const char*>(&n), 4);
}

// A BPS patch of the sizes and actions given, with the checksums of source and target and its
// own, right.
QByteArray Bps(const QByteArray& body, const QByteArray& source, const QByteArray& target) {
    const QByteArray patch = "BPS1" + body + Le32(Crc32(source)) + Le32(Crc32(target));
    return patch + Le32(Crc32(patch));
}

QString SaveRefused(const QString& reason) {
    return PatchFileMessage(true, reason).text;
}

// Where a row's name asks for a full disk ("full/"), a small tmpfs mounted as root, holding an
// older patch "old.bps", then filled up; unmounted at the end.
struct FullDisk {
    static inline const QByteArray kOlderPatch = "BPS1 an older patch";
    static constexpr const char* kNeedsRoot = "mounting a tmpfs needs root (CAP_SYS_ADMIN)";
    const QString folder;
    const bool wanted, mounted;

    explicit FullDisk(const QString& path)
        : folder(path.section(QLatin1String("full/"), 0, 0) + QStringLiteral("full")),
          wanted(path.contains(QLatin1String("full/"))),
          mounted(wanted && QDir().mkpath(folder) &&
                  ::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, "size=64k") ==
                      0) {
        QFile filler(folder + QStringLiteral("/filler"));
        if (!mounted || !filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return;
        WriteFile(folder + QStringLiteral("/old.bps"), kOlderPatch);
        while (filler.write(QByteArray(4096, 'f')) > 0) {
        }
    }
    ~FullDisk() {
        if (mounted)
            ::umount2(QFile::encodeName(folder).constData(), MNT_DETACH);
    }
    bool Ready() const { return mounted || !wanted; }
};

// A fresh folder where commands for scripts run on files named {base} and {target} (the
// vectors' images, the base dumped as asked), {patch}, {out}, {fifo} and {fifo}.bps (FIFOs),
// {tobase} and {totarget} (symbolic links to the images, with ".bps" after the name), {full}
// (a full disk, see FullDisk), and {in}.csv and {in}.json, which hold the payload as {patch}
// does.
struct ScriptRun {
    QTemporaryDir dir;
    QString out, err;

    explicit ScriptRun(const QByteArray& patch = {}, Dump dump = Dump::Plain) {
        WriteFile(Fill("{base}"), AsDumped(PatchVector("base.pce"), dump));
        WriteFile(Fill("{target}"), PatchVector("target.pce"));
        for (const char* name : {"{patch}", "{in}.csv", "{in}.json"})
            WriteFile(Fill(QLatin1String(name)), patch);
        for (const char* fifo : {"{fifo}", "{fifo}.bps"})
            ::mkfifo(QFile::encodeName(Fill(QLatin1String(fifo))).constData(), 0600);
        QFile::link(Fill("{base}"), Fill("{tobase}.bps"));
        QFile::link(Fill("{target}"), Fill("{totarget}.bps"));
    }
    QString Fill(QString text) const {
        for (const char* name :
             {"base", "target", "patch", "out", "fifo", "tobase", "totarget", "full", "in"})
            text.replace(QStringLiteral("{%1}").arg(QLatin1String(name)),
                         dir.filePath(QLatin1String(name)));
        return text;
    }
    // Runs "kestrune-toolbox ARGUMENTS", its names filled in; a program still running after
    // 10 s is stopped and gives -1.
    int Run(const QString& arguments) {
        QProcess program;
        program.start(QStringLiteral(KST_PROGRAM), Fill(arguments).split(QLatin1Char(' ')));
        const bool ended = program.waitForFinished(10000);
        program.kill();
        program.waitForFinished();
        out = QString::fromUtf8(program.readAllStandardOutput());
        err = QString::fromUtf8(program.readAllStandardError());
        return ended && program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
    }
};

} // namespace

Q_DECLARE_METATYPE(Dump)

class TestCompare : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY2(QFileInfo(QStringLiteral(KST_PROGRAM)).isExecutable(),
                 "the program " KST_PROGRAM " is missing: build kestrune-toolbox");
    }

    void compare_data() {
        QTest::addColumn<QByteArray>("original");
        // The name typed in the save dialog, if it is shown: toimage.bps and tooriginal.bps are
        // symbolic links to the images.
        QTest::addColumn<QString>("saved");
        QTest::addColumn<QString>("type");    // the file type chosen there
        QTest::addColumn<QString>("written"); // in the format its suffix names
        QTest::addColumn<QString>("said");    // with its details, if any
        QTest::addColumn<Dump>("dump");       // of the open image
        const QByteArray base = PatchVector("base.pce");
        const auto row = [](const char* name, const QByteArray& original, const char* saved,
                            const char* type, const char* written, const QString& said = {},
                            Dump dump = Dump::Plain) {
            QTest::newRow(name) << original << saved << type << written << said << dump;
        };
        row("BPS, suffix added", base, "shared", "BPS", "shared.bps");
        row("IPS, suffix added", base, "shared", "IPS", "shared.ips");
        row("BPS typed, IPS chosen", base, "shared.BPS", "IPS", "shared.BPS");
        row("identical", PatchVector("target.pce"), "shared", "BPS", "");
        row("original after a header", CopierHeader() + base, "shared", "BPS", "shared.bps");
        row("image after a header", base, "shared.ips", "IPS", "shared.ips", {}, Dump::Headered);
        row("wrong size", base.left(10), "", "", "",
            kWrongSizeMessage.text + "  The file original.pce has 10 bytes.");
        row("no KST.tbl", base, "", "", "", kMissingDataFileMessage.text);
        row("onto a link to the image", base, "toimage.bps", "BPS", "",
            SaveRefused(patchtext::IsImage(patchtext::kOpenImage)));
        row("onto a link to the original", base, "tooriginal.bps", "BPS", "",
            SaveRefused(patchtext::IsImage(patchtext::kOriginalImage)));
    }

    // The window lists what differs from the original to the open image, writes the patch the
    // user asks for, says so, and changes neither image; a refused original is said and the
    // image stays open, but without KST.tbl the program ends, as that message says. A refused
    // save leaves the file of that name as it was. The save dialog suggests the image's name in
    // its folder, with the suffix of the format last written.
    void compare() {
        QFETCH(QByteArray, original);
        QFETCH(QString, saved);
        QFETCH(QString, type);
        QFETCH(QString, written);
        QFETCH(QString, said);
        QFETCH(Dump, dump);
        const bool table = said != kMissingDataFileMessage.text;
        const QByteArray target = PatchVector("target.pce");
        Editor editor;
        editor.StartWith(AsDumped(target, dump));
        const QDir folder(editor.Folder());
        const QString originalPath = editor.AddRom(original, QStringLiteral("original.pce"));
        if (!table)
            QFile::remove(folder.filePath(QStringLiteral("KST.tbl")));
        QFile::link(editor.Rom(), folder.filePath(QStringLiteral("toimage.bps")));
        QFile::link(originalPath, folder.filePath(QStringLiteral("tooriginal.bps")));
        const QByteArray before = ReadFile(folder.filePath(saved));
        QStringList patches = folder.entryList(kPatchFiles);
        editor.Desktop().answers << FileName::FromText(originalPath);
        editor.Desktop().saveAnswers << qMakePair(
            folder.filePath(saved), QStringLiteral("%1 patch (*.%2)").arg(type, type.toLower()));
        editor.Trigger("mnuCompare");
        QStringList dialogs{QString(), QStringLiteral("Choose the original image")};
        if (!saved.isEmpty()) { // the original was accepted
            QDialog& window = ShownWindow("CompareWindow");
            QCOMPARE(Listed(window),
                     original == target
                         ? QStringList{QStringLiteral("No value and no other byte differs.")}
                         : kVectorLines);
            // The second time the save dialog is cancelled.
            for (int time = 0; time < 2; ++time) {
                Press(QStringLiteral("&Export Patch..."))(window);
                if (original != target)
                    dialogs << QStringLiteral("Save the patch as: ") +
                                   folder.filePath(time == 1 &&
                                                           FormatOfName(written) == PatchFormat::Ips
                                                       ? QStringLiteral("game.ips")
                                                       : QStringLiteral("game.bps"));
            }
            QCOMPARE(window.findChild<QLabel*>(QStringLiteral("ChangesNoteLBL"))->text(),
                     written.isEmpty()
                         ? QString()
                         : patchtext::Written(folder.filePath(written),
                                              QFileInfo(folder.filePath(written)).size()));
        }
        QCOMPARE(editor.Desktop().fileDialogs, dialogs);
        QCOMPARE(editor.Desktop().messages.size(), said.isEmpty() ? 0 : 1);
        QCOMPARE(WholeText(editor.Desktop().messages.value(0)), said);
        QCOMPARE(editor.Desktop().exitCode, table ? -1 : 1);
        QCOMPARE(ReadFile(originalPath), original);
        QCOMPARE(editor.RomBytes(), AsDumped(target, dump));
        if (!written.isEmpty())
            patches << written;
        patches.sort();
        QCOMPARE(folder.entryList(kPatchFiles), patches);
        if (written.isEmpty()) {
            QCOMPARE(ReadFile(folder.filePath(saved)), before);
            return;
        }
        // For the image without a header, as patchers and headerless sets expect.
        QCOMPARE(ReadFile(folder.filePath(written)),
                 MakePatch(*FormatOfName(written), original.right(int(kRomSize)), target));
    }

    void window_data() {
        QTest::addColumn<QString>("script"); // done in the main window while the window is open
        QTest::addColumn<int>("chosen");     // the line of kVectorLines chosen, by Enter or
        QTest::addColumn<bool>("enter");     // else a double-click, or -1
        QTest::addColumn<QString>("tab");    // then on show, with the control that has the focus
        QTest::addColumn<QString>("focused");
        QTest::addColumn<QString>("seen"); // what the main window shows then
        QTest::addColumn<int>("motor");    // Buzz Motor's price in the image afterwards
        const auto row = [](const char* name, const char* script, int chosen, bool enter,
                            const char* tab, const char* focused, const char* seen, int motor) {
            QTest::newRow(name) << script << chosen << enter << tab << focused << seen << motor;
        };
        row("Enter on a price", "tab=enemyracers", 2, true, "shops", "BodyCostTXT",
            "see:BodyLST=3;see:BodyCostTXT=32000", 450);
        row("double-click on a race's setting", "", 5, false, "enemyracers", "AISLDR",
            "see:EnemyLST=11;see:AISLDR=9", 450);
        row("Enter on a page", "", 3, true, "shops", "", "", 450);
        row("an Apply meanwhile", "type:MotorCostTXT=460;apply", -1, false, "shops", "", "", 460);
        row("and its Undo", "type:MotorCostTXT=460;apply;undo", -1, false, "shops", "", "", 450);
    }

    // The compare window leaves the main window free to take input, compares again after each
    // write made there, and takes the user to a value's page, entry and control.
    void window() {
        QFETCH(QString, script);
        QFETCH(int, chosen);
        QFETCH(bool, enter);
        QFETCH(QString, tab);
        QFETCH(QString, focused);
        QFETCH(QString, seen);
        QFETCH(int, motor);
        Editor editor;
        editor.StartWith(PatchVector("target.pce"));
        editor.Desktop().answers << FileName::FromText(
            editor.AddRom(PatchVector("base.pce"), QStringLiteral("original.pce")));
        editor.Trigger("mnuCompare");
        const qsizetype dialogs = editor.Desktop().fileDialogs.size();
        QDialog& window = ShownWindow("CompareWindow");
        QVERIFY(!QApplication::activeModalWidget());
        RunScript(editor, script);
        QByteArray image = PatchVector("target.pce");
        PutValue(image, *FindKind("shop.motor"), 0, motor);
        QVERIFY(editor.RomBytes() == image);
        QStringList lines = kVectorLines;
        lines[1] = QStringLiteral("  Buzz Motor price: 300 → %1 ($3,000 → $%2)")
                       .arg(motor)
                       .arg(QLocale(QLocale::English).toString(motor * 10));
        QCOMPARE(Listed(window), lines);
        if (chosen >= 0) {
            auto* list = window.findChild<QTreeWidget*>();
            QTreeWidgetItem* line =
                list->findItems(kVectorLines[chosen].trimmed(), Qt::MatchRecursive).value(0);
            list->setCurrentItem(line);
            if (enter)
                QTest::keyClick(list, Qt::Key_Return);
            else { // as the system sends one: a click, then a press that is a double-click
                const QPoint at = list->visualItemRect(line).center();
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
                QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
            }
        }
        if (!focused.isEmpty())
            QTRY_VERIFY(editor.Find<QWidget>(qPrintable(focused))->hasFocus());
        QCOMPARE(editor.Find<QTabWidget>("tabs")->currentWidget()->property("tag").toString(), tab);
        RunScript(editor, seen);
        // Enter pressed no button of the window.
        QCOMPARE(editor.Desktop().fileDialogs.size(), dialogs);
        QVERIFY(window.isVisible());
    }

    void scripts_data() {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<QByteArray>("patch");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        QTest::addColumn<QByteArray>("after"); // the image {base} holds afterwards
        QTest::addColumn<Dump>("dump");        // how {base} holds it
        const QByteArray base = PatchVector("base.pce"), target = PatchVector("target.pce");
        const QByteArray delta = PatchVector("flips-delta.bps"), ips = PatchVector("flips.ips");
        QByteArray flipped = delta, pastEnd = ips, cleared = base;
        flipped[17] = char(flipped[17] ^ 0x40);
        pastEnd[5] = 0x06; // the first record moves to 0x061945
        cleared[0] = cleared[1] = 0;
        const QString listed = kVectorLines.join(QLatin1Char('\n')) + QLatin1Char('\n');
        const auto row = [](const char* name, const char* arguments, const QByteArray& patch,
                            int status, const QString& out, const QString& err,
                            const QByteArray& after, Dump dump = Dump::Plain) {
            QTest::newRow(name) << arguments << patch << status << out << err << after << dump;
        };
        const auto refused = [&](const char* name, const QByteArray& patch, const QString& why,
                                 const char* file = "{base}") {
            row(name, qPrintable(QStringLiteral("--apply-patch {patch} ") + file), patch, 1, "",
                About(QStringLiteral("{patch}"), PatchRefusedMessage(why).text), base);
        };
        row("diff", "--diff {base} {target}", {}, 1, listed, "", base);
        row("diff, the same", "--diff {base} {base}", {}, 0, "", "", base);
        row("diff, refused", "--diff {patch} {base}", base.left(1000), 1, "",
            About("{patch}", kWrongSizeMessage.text + "  The file patch has 1,000 bytes."), base);
        // A header is kept alike whatever the patch's format or actions.
        for (const Dump dump : {Dump::Plain, Dump::Headered}) {
            const bool headered = dump == Dump::Headered;
            row(headered ? "BPS delta, headered" : "BPS delta", "--apply-patch {patch} {base}",
                delta, 0, listed, "", target, dump);
            row(headered ? "make BPS, headered" : "make BPS",
                "--make-patch {base} {target} {out}.bps", {}, 0, "", "", base, dump);
        }
        row("BPS linear", "--apply-patch {patch} {base}", PatchVector("flips-linear.bps"), 0,
            listed, "", target);
        row("IPS", "--apply-patch {patch} {base}", ips, 0, listed, "", target);
        row("make IPS", "--make-patch {base} {target} {out}.IPS", {}, 0, "", "", base);
        row("bits reversed", "--apply-patch {patch} {base}", ips, 1, "",
            About(QStringLiteral("{base}"), kBitReversedMessage.text), base, Dump::Reversed);
        refused("BPS, flipped byte", flipped, patchtext::kDamaged);
        QByteArray other = base;
        other[0x30000] = char(~other[0x30000]);
        refused("BPS, wrong base", MakeBps(other, target),
                patchtext::MadeForAnotherImage(kRomSize, Crc32(other), kRomSize, Crc32(base)));
        for (const auto& [name, applied] :
             {std::pair("BPS, already applied", delta), {"IPS, already applied", ips}})
            row(name, "--apply-patch {patch} {target}", applied, 0, "",
                About(QStringLiteral("{patch}"), kAlreadyAppliedMessage.text), base);
        refused("BPS, another size made", MakeBps(base, base + 'x'),
                patchtext::ChangesSize(kRomSize, kRomSize + 1));
        // Each gives base with its last byte 'x', read as a lenient reader reads it.
        const QByteArray sizes = BpsNumber(kRomSize) + BpsNumber(kRomSize) + BpsNumber(0);
        const QByteArray lastX = BpsNumber(1) + 'x'; // a TargetRead of one byte
        QByteArray changed = base;
        changed[kRomSize - 1] = 'x';
        refused(
            "BPS, number past 64 bits",
            Bps(Overlong(kRomSize) + sizes.mid(3) + BpsNumber(quint64(kRomSize - 2) << 2) + lastX,
                base, changed),
            patchtext::kDamaged);
        refused(
            "BPS, offset past 62 bits",
            Bps(sizes + BpsNumber(quint64(kRomSize - 2) << 2 | 2) + BpsNumber(1ull << 63) + lastX,
                base, changed),
            patchtext::kDamaged);
        refused("BPS, wrong target checksum",
                Bps(sizes + BpsNumber(quint64(kRomSize - 2) << 2) + lastX, base, target),
                patchtext::WrongResult(Crc32(target), Crc32(changed)));
        refused("IPS, truncated", ips.chopped(3), patchtext::kNoEndMarker);
        refused("IPS, run of no bytes", ips.chopped(3) + QByteArray("\1\0\0\0\0\0\0\7EOF", 11),
                patchtext::kDamaged);
        refused("IPS, two bytes after the end", ips + "\5\xFF", patchtext::AfterEndMarker(2));
        refused("IPS, \"EOF\" after the end", ips + "EOF", patchtext::AfterEndMarker(3));
        refused("IPS, past the end", pastEnd, patchtext::PastTheEnd(0x61945, 3, kRomSize));
        refused("IPS, cut to another size", ips + QByteArray("\x05\xFF\xFF", 3),
                patchtext::ChangesSize(kRomSize, 0x5FFFF));
        refused("neither", "PATCE", patchtext::kNotAPatch);
        refused("IPS, clears the identification word", MakeIps(base, cleared),
                patchtext::ResultWrongWord(0));
        row("a FIFO as the patch", "--apply-patch {fifo} {base}", {}, 1, "",
            About(QStringLiteral("{fifo}"),
                  PatchFileMessage(false, patchtext::NotOrdinary(FileKind::Fifo)).text),
            base);
        const auto unsaved = [&](const char* name, const char* out, const QString& why) {
            row(name, qPrintable(QStringLiteral("--make-patch {base} {target} ") + out), {}, 1, "",
                About(QLatin1String(out), SaveRefused(why)), base);
        };
        unsaved("make onto a link to the original", "{tobase}.bps",
                patchtext::IsImage(patchtext::kOriginalImage));
        unsaved("make onto a link to the image", "{totarget}.bps",
                patchtext::IsImage(patchtext::kModifiedImage));
        unsaved("make onto a full disk", "{full}/old.bps",
                QStringLiteral("no space is left on the device"));
        unsaved("make onto a FIFO", "{fifo}.bps", patchtext::NotOrdinary(FileKind::Fifo));

        // Value lists: Buzz Motor to 450 and race 12's prize money to 1234, or refused whole.
        QByteArray set = base;
        PutValue(set, *FindKind("shop.motor"), 0, 450);
        PutValue(set, *FindKind("race.prize"), 11, 1234);
        const QString setLines = "Shops\n  Buzz Motor price: 300 → 450 ($3,000 → $4,500)\nEnemy "
                                 "Racers\n  Race 12, prize money: 325 → 1234 ($3,250 → $12,340)\n";
        const QByteArray header = "name,index,label,value\n";
        using namespace valuetext;
        const auto listRefused = [&](const char* name, const QByteArray& list, const QString& why,
                                     const QString& where = AtLine(2),
                                     const char* file = "{in}.csv") {
            row(name, qPrintable(QStringLiteral("--import-values %1 {base}").arg(file)), list, 1,
                "", About(file, ValuesRefusedMessage(where, why).text), base);
        };
        listRefused("values: wrong name", header + "shop.motr,0,,450", UnknownName("shop.motr"));
        listRefused("values: over the ceiling", header + "shop.motor,0,,1\nrace.ai,11,x,23",
                    OutOfRange("Race 12, enemy racers' AI strength (race.ai[11])", 22, "23"),
                    AtLine(3));
        listRefused("values: negative", header + "race.prize,0,,-1",
                    OutOfRange("Race 1, prize money (race.prize[0])", 65535, "-1"));
        listRefused("values: text", header + "shop.motor,0,,4.5e2",
                    OutOfRange("Buzz Motor price (shop.motor[0])", 32000, "4.5e2"));
        listRefused("values: duplicate", header + "shop.motor,0,,450\r\nshop.motor , 0,,460",
                    SetTwice("shop.motor[0]", AtLine(2)), AtLine(3));
        listRefused("values: missing column", "name,index,label\nshop.motor,0,x",
                    MissingColumn("value"), AtLine(1));
        listRefused("values: short line", header + "shop.motor,0,450", FieldCount(3, 4));
        listRefused("values: open quote", header + "shop.motor,0,\"x,450\n", kOpenQuote);
        listRefused("values: empty", "", kEmpty, "");
        listRefused("values: not UTF-8", header + "shop.motor,0,Buzz \xE9,450", kNotUtf8);
        listRefused("values: JSON entry without value",
                    R"({"format": "kestrune-toolbox values", "version": 1, "values": [
                        {"name": "shop.motor", "index": 0, "value": 450}, {"name": "race.ai", "index": 3}]})",
                    MissingMember("value"), AtEntry(2), "{in}.json");
        listRefused("values: JSON of another version",
                    R"({"format": "kestrune-toolbox values", "version": 2, "values": []})",
                    kNotValueList, "", "{in}.json");
        row("values: BOM, CRLF, quotes", "--import-values {in}.csv {base}",
            "\xEF\xBB\xBFname,index,label,value\r\nrace.prize, 11 ,\"Race 12, "
            "\"\"prize\"\"\",1234\r\n"
            "shop.motor,0,,450\r\nshop.motor,1,,600\r\n",
            0, setLines, "", set);
        row("values: JSON", "--import-values {in}.json {base}",
            R"({"format": "kestrune-toolbox values", "version": 1, "values": [
                {"name": "shop.motor", "index": 0, "value": 450},
                {"name": "race.prize", "index": 11, "value": 1234.0}]})",
            0, setLines, "", set);
        row("set", "--set {base} shop.motor[0]=450 race.prize[11]=1234", {}, 0, setLines, "", set);
        row("set, one wrong", "--set {base} shop.motor[0]=450 race.prize[38]=1", {}, 1, "",
            About("{base}", ValuesRefusedMessage(AtSetting("race.prize[38]=1"),
                                                 NoEntry("race.prize", 38, "38"))
                                .text),
            base);
        row("set, not a setting", "--set {base} shop.motor=450", {}, 1, "",
            About("{base}", ValuesRefusedMessage(AtSetting("shop.motor=450"), kSettingForm).text),
            base);
        row("export onto the image", "--export-values {in}.csv {in}.csv", base, 1, "",
            About("{in}.csv", ValueFileMessage(true, kSavedOverImage).text), base);
    }

    // Each command prints exactly what it should on each stream and ends with its status, within
    // its time. The third-party patches give the target byte for byte; a refused patch leaves
    // every image as it was, and a refused save the file of that name; a made patch gives the
    // target from the base and is no larger than the third-party linear BPS or IPS.
    void scripts() {
        QFETCH(QString, arguments);
        QFETCH(QByteArray, patch);
        QFETCH(int, status);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QFETCH(QByteArray, after);
        QFETCH(Dump, dump);
        ScriptRun run(patch, dump);
        const QString made = run.Fill(arguments.section(QLatin1Char(' '), -1));
        const FullDisk disk(made);
        QVERIFY2(disk.Ready(), FullDisk::kNeedsRoot);
        // A FIFO is not read, which would wait for a writer; it must stay a FIFO.
        const bool fifo = made.endsWith(QLatin1String("fifo.bps"));
        const QByteArray before = fifo ? QByteArray() : ReadFile(made);
        QCOMPARE(run.Run(arguments), status);
        QCOMPARE(run.err, run.Fill(err));
        QCOMPARE(run.out, out);
        QVERIFY(ReadFile(run.Fill("{base}")) == AsDumped(after, dump));
        QVERIFY(ReadFile(run.Fill("{target}")) == PatchVector("target.pce"));
        if (status != 0)
            QVERIFY(fifo ? !QFileInfo(made).isFile() : ReadFile(made) == before);
        if (status != 0 || !made.contains(QLatin1String("/out.")))
            return;
        const PatchFormat format = *FormatOfName(made);
        const QByteArray bytes = ReadFile(made);
        QCOMPARE(bytes, MakePatch(format, PatchVector("base.pce"), PatchVector("target.pce")));
        QVERIFY(bytes.size() <=
                PatchVector(format == PatchFormat::Bps ? "flips-linear.bps" : "flips.ips").size());
    }

    void exchange_data() {
        QTest::addColumn<QString>("list");
        QTest::newRow("CSV") << "{out}.csv";
        QTest::newRow("JSON") << "{out}.json";
    }

    // An export reads back exactly. Into its own image it changes nothing, also where the image
    // stores more than a control shows (race 26's tire grip, 234), which a list may not set in
    // another image; into another image it sets every value and no other byte.
    void exchange() {
        QFETCH(QString, list);
        const QByteArray base = PatchVector("base.pce"), target = PatchVector("target.pce");
        ScriptRun run;
        QCOMPARE(run.Run("--export-values {target} " + list), 0);
        QCOMPARE(run.Run("--import-values " + list + " {target}"), 0);
        QCOMPARE(run.Run("--import-values " + list + " {base}"), 1);
        QVERIFY(run.err.contains("(race.grip[25]) takes a whole number from 0 to 16, not \"234\""));
        QCOMPARE(run.Run("--export-values {base} " + list), 0);
        QCOMPARE(run.Run("--import-values " + list + " {target}"), 0);
        QByteArray expected = target;
        for (const Value& value : AllValues(base))
            PutValue(expected, *value.kind, value.index, value.number);
        QVERIFY(ReadFile(run.Fill("{target}")) == expected);
        QVERIFY(ReadFile(run.Fill("{base}")) == base);
        QVERIFY(run.out.endsWith("  Race 26, enemy racers' tire grip: 234 → 10\n"));
    }
};

QTEST_MAIN(TestCompare)
#include "tst_compare.moc"
