#include "core/romimage.h"
#include "testsupport.h"

#include <QTest>

using namespace kst;
using namespace kst::test;

class TestRomImage : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString path_;

private slots:
    void init() {
        path_ = dir_.filePath(QStringLiteral("rom.pce"));
        QByteArray bytes = ValidRom();
        bytes[2] = '\x12';
        bytes[3] = '\x34';
        bytes[kRomSize - 2] = '\xAB';
        bytes[kRomSize - 1] = '\xCD';
        WriteFile(path_, bytes);
    }

    void readsAtOneBasedPositionsLittleEndian() {
        RomImage rom;
        QVERIFY(rom.Open(path_));
        QCOMPARE(rom.ReadByte(1), quint8(0x4C));
        QCOMPARE(rom.ReadByte(2), quint8(0x40));
        QCOMPARE(rom.ReadWord(1), quint16(0x404C));
        QCOMPARE(rom.ReadWord(3), quint16(0x3412));
        QCOMPARE(rom.ReadByte(kRomSize), quint8(0xCD));
        QCOMPARE(rom.ReadWord(kRomSize - 1), quint16(0xCDAB));
        QCOMPARE(rom.ReadBytes(1, 4), QByteArray("\x4C\x40\x12\x34"));
        QCOMPARE(rom.ReadBytes(kRomSize - 1, 2), QByteArray("\xAB\xCD"));
        QCOMPARE(rom.ReadBytes(7, 0), QByteArray());
        QVERIFY_THROWS_EXCEPTION(RomAccessError, rom.ReadBytes(kRomSize, 2));
    }

    void refusesPositionsOutsideTheImage() {
        RomImage rom;
        QVERIFY(rom.Open(path_));
        QVERIFY_THROWS_EXCEPTION(RomAccessError, rom.ReadByte(0));
        QVERIFY_THROWS_EXCEPTION(RomAccessError, rom.ReadByte(kRomSize + 1));
        QVERIFY_THROWS_EXCEPTION(RomAccessError, rom.ReadWord(kRomSize));
        QVERIFY_THROWS_EXCEPTION(RomAccessError, rom.WriteWord(kRomSize, 1));
        QCOMPARE(ReadFile(path_).size(), kRomSize);
    }

    void writesChangeExactlyTheirBytes() {
        const QByteArray before = ReadFile(path_);
        RomImage rom;
        QVERIFY(rom.Open(path_));
        rom.WriteWord(0x179D0 + 1, 500);
        rom.WriteByte(0x18A7 + 1, 0x16);
        rom.Flush();
        // Another reader sees the bytes at once, before the image is closed.
        const QByteArray after = ReadFile(path_);
        QCOMPARE(ChangedOffsets(before, after), (QList<int>{0x18A7, 0x179D0, 0x179D1}));
        QCOMPARE(WordAt(after, 0x179D0), quint16(500));
        QCOMPARE(quint8(after[0x18A7]), quint8(0x16));
    }

    void readsWhatTheFileHoldsNow() {
        RomImage rom;
        QVERIFY(rom.Open(path_));
        QCOMPARE(rom.ReadByte(3), quint8(0x12));
        QByteArray changed = ReadFile(path_);
        changed[2] = '\x77';
        WriteFile(path_, changed);
        QCOMPARE(rom.ReadByte(3), quint8(0x77));
    }

    void failsRatherThanReadOrGrowAShortenedFile() {
        RomImage rom;
        QVERIFY(rom.Open(path_));
        QFile::resize(path_, 1000);
        QVERIFY_THROWS_EXCEPTION(RomAccessError, rom.ReadWord(0x179C6 + 1));
        QVERIFY_THROWS_EXCEPTION(RomAccessError, rom.WriteWord(0x179C6 + 1, 7));
        QVERIFY_THROWS_EXCEPTION(RomAccessError, rom.ReadWord(1));
        QCOMPARE(ReadFile(path_).size(), 1000);
    }

    void openingNeitherCreatesNorChangesAFile() {
        const QByteArray before = ReadFile(path_);
        RomImage rom;
        QVERIFY(!rom.Open(dir_.filePath(QStringLiteral("missing.pce"))));
        QVERIFY(!QFile::exists(dir_.filePath(QStringLiteral("missing.pce"))));
        QVERIFY(!rom.Open(dir_.path()));
        QVERIFY(rom.Open(path_));
        rom.Close();
        rom.Close();
        QVERIFY(!rom.IsOpen());
        QVERIFY_THROWS_EXCEPTION(RomAccessError, rom.ReadByte(1));
        QCOMPARE(ReadFile(path_), before);
    }
};

QTEST_GUILESS_MAIN(TestRomImage)
#include "tst_romimage.moc"
