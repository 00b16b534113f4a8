// The value table and the open checks, without a window: each kind of value read and written
// at its first and last entry through the image file, checked on the whole file, and each
// choice of file with the check that refuses it and the message the user reads.
#include "core/messages.h"
#include "core/opencheck.h"
#include "core/romimage.h"
#include "core/valuemodel.h"
#include "saidtexts.h"
#include "testimages.h"

#include <QTemporaryDir>
#include <QTest>

#ifndef Q_OS_WIN
#include <dlfcn.h>
#include <sys/stat.h>
#endif

using namespace kst;
using namespace kst::test;

namespace {

// Lost: the text a name with the byte 0xE9 reaches the program as, which names another file.
enum class Chosen { File, Missing, Folder, Utf8, Lost, Renumbered, Touched };

#ifndef Q_OS_WIN

// Every stat passes through here on its way to the system: this file gets another number each
// time it is asked, and with touching another modification time too, as on some network and
// FUSE file systems.
QByteArray renumbered;
bool touching = false;

#endif

} // namespace

#ifndef Q_OS_WIN

extern "C" int stat(const char* path, struct stat* status) noexcept {
    static const auto kReal =
        reinterpret_cast<int (*)(const char*, struct stat*)>(dlsym(RTLD_NEXT, "stat"));
    static int asked = 0;
    const int result = kReal(path, status);
    if (result == 0 && path == renumbered) {
        status->st_ino += ++asked;
        status->st_mtim.tv_sec += touching ? asked : 0;
    }
    return result;
}
#endif

Q_DECLARE_METATYPE(Chosen)
Q_DECLARE_METATYPE(kst::OpenOutcome)

class TestModel : public QObject {
    Q_OBJECT

private slots:
    void valueAtEachEnd_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("width");
        QTest::addColumn<QString>("label");
        const auto row = [](const char* name, const char* kind, int index, int offset, int width,
                            const char* label) {
            QTest::newRow(name) << kind << index << offset << width << label;
        };
        row("last motor", "shop.motor", 9, 0x179F3, 2, "Posh Motor price");
        row("last tire", "shop.tire", 12, 0x17A3E, 2, "Dummy price");
        row("last wing", "shop.wing", 5, 0x17A5C, 2, "Acme Wing price");
        row("last fuel", "shop.fuel", 11, 0x17A9D, 2, "Super Fuel price");
        row("last body", "shop.body", 7, 0x17ACA, 2, "Dummy price");
        row("last prize", "race.prize", 37, 0x1AE5, 2, "Race 38, prize money");
        row("last AI", "race.ai", 37, 0x1AE7, 1, "Race 38, enemy racers' AI strength");
        row("last grip", "race.grip", 37, 0x1AEB, 1, "Race 38, enemy racers' tire grip");
        row("last turbo", "race.turbo", 37, 0x1AEE, 1, "Race 38, enemy racers' turbo");
    }

    // The value is read from its own bytes, little-endian, and a write changes exactly them,
    // in the file and in an image held in memory alike, and is recorded with both bytes. Behind
    // a copier header, the same bytes of the image are read and written, and never the header.
    void valueAtEachEnd() {
        QFETCH(QString, kind);
        QFETCH(int, index);
        QFETCH(int, offset);
        QFETCH(int, width);
        QFETCH(QString, label);
        const ValueKind* found = FindKind(kind);
        QVERIFY(found);
        QCOMPARE(EntryLabel(*found, index), label);
        const QByteArray before = PatternedRom();
        const QByteArray old = before.mid(offset, width);
        const int stored = quint8(old[0]) | (width == 2 ? quint8(old[1]) << 8 : 0);
        const QByteArray written = width == 2 ? QByteArray("\x34\x12") : QByteArray("\x5A");
        QByteArray expected = before;
        expected.replace(offset, width, written);

        for (const QByteArray& header : {QByteArray(), CopierHeader()}) {
            QTemporaryDir dir;
            const QString path = dir.filePath(QStringLiteral("game.pce"));
            WriteFile(path, header + before);
            RomImage rom;
            QCOMPARE(rom.Open(FileName::FromText(path)), RomImage::Opening::Opened);
            ImageValues values(rom);
            QCOMPARE(values.Read(*found, index), stored);
            QVERIFY(values.ReadImage() == before);
            values.Write(*found, index, width == 2 ? 0x1234 : 0x5A);
            rom.Flush();
            QCOMPARE(ReadFile(path), header + expected);
            const WriteRecord record = values.TakeRecord();
            QCOMPARE(int(record.size()), 1);
            QCOMPARE(record.front().kind, found);
            QCOMPARE(record.front().index, index);
            QCOMPARE(record.front().before, old);
            QCOMPARE(record.front().after, written);
            QVERIFY(values.TakeRecord().empty());
        }

        QByteArray image = before;
        QCOMPARE(ValueIn(image, *found, index), stored);
        PutValue(image, *found, index, width == 2 ? 0x1234 : 0x5A);
        QCOMPARE(image, expected);
    }

    void openChecks_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Chosen>("chosen");
        QTest::addColumn<bool>("dataFile");
        QTest::addColumn<OpenOutcome>("outcome");
        QTest::addColumn<const Said*>("said"); // null when opened
        QTest::addColumn<QString>("informative");
        const QByteArray valid = ValidRom();
        QByteArray swapped = valid, lowZero = valid;
        PutWord(swapped, 0, 0x4C40);
        lowZero[0] = 0x00;
        // Without a said message the file opens. Rows without KST.tbl beside the file say so.
        const auto row = [](const char* name, const QByteArray& bytes, Chosen chosen,
                            OpenOutcome outcome, const Said* said = nullptr,
                            const char* informative = "") {
            QTest::newRow(name) << bytes << chosen << !QByteArray(name).contains("KST.tbl")
                                << outcome << said << QString::fromUtf8(informative);
        };
        const auto file = [&](const char* name, const QByteArray& bytes, OpenOutcome outcome,
                              const Said* said = nullptr, const char* informative = "") {
            row(name, bytes, Chosen::File, outcome, said, informative);
        };
        file("valid", valid, OpenOutcome::Opened);
        row("no such file", valid, Chosen::Missing, OpenOutcome::NotOpened, &kSaidNoRom);
        row("a folder", valid, Chosen::Folder, OpenOutcome::NotOpened, &kSaidNoRom);
        row("a name in UTF-8", valid, Chosen::Utf8, OpenOutcome::Opened);
#ifndef Q_OS_WIN
        // POSIX names are bytes, which text may not hold, and the file's numbers come from a
        // stat that this test stands between. Windows names are UTF-16, which text holds
        // whole, so none is lost there; its numbers come from the open handle, which no test
        // here can stand between.
        row("a name that lost a byte", valid, Chosen::Lost, OpenOutcome::NameNotUsable,
            &kSaidNameNotUsable);
        row("renumbered on every look", valid, Chosen::Renumbered, OpenOutcome::IdentityNotKept,
            &kSaidIdentityNotKept);
        row("renumbered and touched", valid, Chosen::Touched, OpenOutcome::NotOpened, &kSaidNoRom);
#endif
        file("one byte long", valid + '\0', OpenOutcome::WrongSize, &kSaidWrongSize,
             "The file game.pce has 393,217 bytes.");
        file("after a copier header", CopierHeader() + valid, OpenOutcome::Opened);
        file("a header's length, image first", valid + CopierHeader(), OpenOutcome::WrongSize,
             &kSaidWrongSize,
             "The file game.pce has 393,728 bytes.  A 512-byte copier header was looked for before "
             "the image, but the bytes after it are not the North American (USA) image.");
        file("swapped word", swapped, OpenOutcome::WrongRegion, &kSaidWrongRegion);
        file("low byte zero", lowZero, OpenOutcome::WrongRegion, &kSaidWrongRegion);
        file("bits reversed", BitReversed(valid), OpenOutcome::BitReversed, &kSaidBitReversed);
        file("bits reversed after a header", CopierHeader() + BitReversed(valid),
             OpenOutcome::BitReversed, &kSaidBitReversed);
        file("KST.tbl missing", valid, OpenOutcome::MissingDataFile, &kSaidMissingDataFile);
        file("short and no KST.tbl", valid.left(10), OpenOutcome::WrongSize, &kSaidWrongSize,
             "The file game.pce has 10 bytes.");
        file("wrong word and no KST.tbl", swapped, OpenOutcome::WrongRegion, &kSaidWrongRegion);
    }

    // The checks run in order and the first that fails decides; none changes the file.
    void openChecks() {
        QFETCH(QByteArray, bytes);
        QFETCH(Chosen, chosen);
        QFETCH(bool, dataFile);
        QFETCH(OpenOutcome, outcome);
        QFETCH(const Said*, said);
        QFETCH(QString, informative);
        QTemporaryDir dir;
        const QString file = dir.filePath(chosen == Chosen::Utf8   ? QStringLiteral("café.pce")
                                          : chosen == Chosen::Lost ? QStringLiteral("caf\uFFFD.pce")
                                                                   : QStringLiteral("game.pce"));
        WriteFile(file, bytes);
#ifndef Q_OS_WIN
        touching = chosen == Chosen::Touched;
        renumbered =
            chosen == Chosen::Renumbered || touching ? QFile::encodeName(file) : QByteArray();
#endif
        const QString table = dir.filePath(QStringLiteral("KST.tbl"));
        if (dataFile)
            WriteFile(table, "00= \n");
        const QString path = chosen == Chosen::Folder    ? dir.path()
                             : chosen == Chosen::Missing ? dir.filePath(QStringLiteral("none.pce"))
                                                         : file;
        RomImage rom;
        QCOMPARE(OpenChecked(rom, FileName::FromText(path), table), outcome);
        if (said) {
            const Message message =
                MessageFor(outcome, FileName::FromText(path), rom.Identity().size);
            QCOMPARE(message.text, FullText(*said));
            QCOMPARE(message.caption, QString::fromUtf8(said->caption));
            QCOMPARE(message.informative, informative);
        }
        rom.Close();
        QCOMPARE(ReadFile(file), bytes);
    }
};

QTEST_APPLESS_MAIN(TestModel)
#include "tst_model.moc"
