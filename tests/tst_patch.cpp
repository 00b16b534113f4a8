// The patch formats and the value diff, without a window: the third-party patcher's vectors,
// round trips of patches the program makes, their layout against the published one (read by
// this test's own decoders and checksums), and the lines that name what differs.
#include "core/crc32.h"
#include "core/patch.h"
#include "testsupport.h"

#include <QTest>

using namespace kst;
using namespace kst::test;

namespace {

// The CRC-32 bit by bit, apart from the program's table.
quint32 BitwiseCrc(const QByteArray& bytes) {
    quint32 crc = 0xFFFFFFFFu;
    for (const char byte : bytes) {
        crc ^= quint8(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = crc >> 1 ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

quint32 Le32(const QByteArray& bytes, qsizetype at) {
    return quint32(quint8(bytes[at])) | quint32(quint8(bytes[at + 1])) << 8 |
           quint32(quint8(bytes[at + 2])) << 16 | quint32(quint8(bytes[at + 3])) << 24;
}

// A BPS number as the format's description defines it.
quint64 BpsNumber(const QByteArray& patch, qsizetype& at) {
    quint64 data = 0, shift = 1;
    for (;;) {
        const quint8 x = quint8(patch[at++]);
        data += (x & 0x7F) * shift;
        if (x & 0x80)
            return data;
        shift <<= 7;
        data += shift;
    }
}

// Replays a BPS patch's actions on source, checking the fields around them on the way.
QByteArray ReplayBps(const QByteArray& patch, const QByteArray& source) {
    qsizetype at = 4;
    const quint64 sourceSize = BpsNumber(patch, at), targetSize = BpsNumber(patch, at);
    if (!patch.startsWith("BPS1") || sourceSize != quint64(source.size()) ||
        BpsNumber(patch, at) != 0)
        return {};
    QByteArray target;
    qint64 sourceAt = 0, targetAt = 0;
    while (at < patch.size() - 12) {
        const quint64 action = BpsNumber(patch, at);
        const qint64 length = qint64(action >> 2) + 1;
        const auto offset = [&] {
            const quint64 n = BpsNumber(patch, at);
            return n & 1 ? -qint64(n >> 1) : qint64(n >> 1);
        };
        switch (action & 3) {
        case 0:
            target += source.mid(target.size(), length);
            break;
        case 1:
            target += patch.mid(at, length);
            at += length;
            break;
        case 2:
            sourceAt += offset();
            target += source.mid(sourceAt, length);
            sourceAt += length;
            break;
        case 3:
            targetAt += offset();
            for (qint64 i = 0; i < length; ++i)
                target += target[targetAt++];
        }
    }
    return quint64(target.size()) == targetSize ? target : QByteArray();
}

// An IPS patch's records: where each starts and how many bytes it writes.
QList<QPair<int, int>> IpsRecords(const QByteArray& patch) {
    QList<QPair<int, int>> records;
    for (int at = 5; patch.mid(at, 3) != "EOF";) {
        const int offset =
            quint8(patch[at]) << 16 | quint8(patch[at + 1]) << 8 | quint8(patch[at + 2]);
        const int size = quint8(patch[at + 3]) << 8 | quint8(patch[at + 4]);
        const int count = size ? size : quint8(patch[at + 5]) << 8 | quint8(patch[at + 6]);
        records << qMakePair(offset, count);
        at += 5 + (size ? size : 3);
    }
    return records;
}

QByteArray Changed(QByteArray image, qint64 at, qint64 count, char byte) {
    for (qint64 i = at; i < at + count; ++i)
        image[i] = char(image[i] ^ byte);
    return image;
}

} // namespace

class TestPatch : public QObject {
    Q_OBJECT

private slots:
    // Each of the third-party patcher's patches gives its target byte for byte, and ours of the
    // same change are no larger than its linear BPS and its IPS.
    void vectors() {
        const QByteArray base = PatchVector("base.pce"), target = PatchVector("target.pce");
        QCOMPARE(base.size(), kRomSize);
        for (const char* name : {"flips-delta.bps", "flips-linear.bps", "flips.ips"}) {
            const PatchResult result = ApplyPatch(PatchVector(name), base);
            QVERIFY2(result.refusal.isEmpty(), qPrintable(result.refusal));
            QVERIFY2(result.image == target, name);
        }
        QVERIFY(MakeBps(base, target).size() <= PatchVector("flips-linear.bps").size());
        QVERIFY(MakeIps(base, target).size() <= PatchVector("flips.ips").size());
    }

    void refused_data() {
        QTest::addColumn<QByteArray>("patch");
        QTest::addColumn<QByteArray>("image");
        QTest::addColumn<QString>("refusal");
        const QByteArray base = PatchVector("base.pce"), target = PatchVector("target.pce");
        const QByteArray delta = PatchVector("flips-delta.bps"), ips = PatchVector("flips.ips");
        QByteArray flipped = delta, pastEnd = ips;
        flipped[20] = char(flipped[20] ^ 0x10);
        pastEnd[5] = 0x06; // the first record moves to 0x061945
        const auto row = [](const char* name, const QByteArray& patch, const QByteArray& image,
                            const QString& refusal) {
            QTest::newRow(name) << patch << image << refusal;
        };
        row("BPS, flipped byte", flipped, base, patchtext::kDamaged);
        row("BPS, truncated", delta.chopped(1), base, patchtext::kDamaged);
        row("BPS, header only", "BPS1", base, patchtext::kDamaged);
        row("BPS, wrong base", delta, target,
            patchtext::MadeForAnotherImage(kRomSize, BitwiseCrc(base), kRomSize,
                                           BitwiseCrc(target)));
        row("BPS, shorter image", delta, base.chopped(1),
            patchtext::MadeForAnotherImage(kRomSize, BitwiseCrc(base), kRomSize - 1,
                                           BitwiseCrc(base.chopped(1))));
        row("BPS, other size made", MakeBps(base, base + 'x'), base,
            patchtext::ChangesSize(kRomSize, kRomSize + 1));
        row("IPS, truncated in a record", ips.left(20), base, patchtext::kNoEndMarker);
        row("IPS, no end marker", ips.chopped(3), base, patchtext::kNoEndMarker);
        row("IPS, past the end", pastEnd, base, patchtext::PastTheEnd(0x61945, 3, kRomSize));
        row("IPS, cut to another size", ips + QByteArray("\x05\xFF\xFF", 3), base,
            patchtext::ChangesSize(kRomSize, 0x5FFFF));
        row("IPS, bytes after the end", ips + "x", base, patchtext::kDamaged);
        row("neither", "PATCE", base, patchtext::kNotAPatch);
    }

    void refused() {
        QFETCH(QByteArray, patch);
        QFETCH(QByteArray, image);
        QFETCH(QString, refusal);
        const PatchResult result = ApplyPatch(patch, image);
        QCOMPARE(result.refusal, refusal);
        QVERIFY(result.image.isEmpty());
    }

    // Patches made from two images give the second from the first, in both formats, and a BPS
    // patch holds exactly the published layout with checksums recomputed here.
    void roundTrip_data() {
        QTest::addColumn<QByteArray>("source");
        QTest::addColumn<QByteArray>("target");
        const QByteArray rom = PatternedRom();
        QTest::newRow("vectors") << PatchVector("base.pce") << PatchVector("target.pce");
        QTest::newRow("nothing changed") << rom << rom;
        QTest::newRow("first and last byte")
            << rom << Changed(Changed(rom, 0, 1, 1), kRomSize - 1, 1, 1);
        QTest::newRow("every byte") << rom << Changed(rom, 0, kRomSize, char(0xFF));
        QTest::newRow("one gap byte, then a run past a record's size")
            << rom << Changed(Changed(rom, 100, 1, 1), 102, 70000, char(0x80));
        QByteArray runs = rom;
        runs.replace(5000, 66000, QByteArray(66000, 'r'));
        runs.replace(80000, 9, QByteArray(9, 's'));
        QTest::newRow("runs of one value") << rom << runs;
    }

    void roundTrip() {
        QFETCH(QByteArray, source);
        QFETCH(QByteArray, target);
        for (const PatchFormat format : {PatchFormat::Bps, PatchFormat::Ips}) {
            const QByteArray patch = MakePatch(format, source, target);
            QVERIFY(ApplyPatch(patch, source).image == target);
        }
        const QByteArray bps = MakeBps(source, target);
        QVERIFY(ReplayBps(bps, source) == target);
        QCOMPARE(Le32(bps, bps.size() - 12), BitwiseCrc(source));
        QCOMPARE(Le32(bps, bps.size() - 8), BitwiseCrc(target));
        QCOMPARE(Le32(bps, bps.size() - 4), BitwiseCrc(bps.chopped(4)));
    }

    // No IPS record starts at 0x454F46, whose offset reads as "EOF", however the changes meet
    // it: a record split there, a change starting there, a run of one value starting there.
    void ipsAvoidsTheEndMarkersOffset_data() {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("count");
        QTest::addColumn<char>("value");
        QTest::newRow("split lands there") << 0x454F46 - 0xFFFF << 0xFFFF + 10 << 'c';
        QTest::newRow("a change starts there") << 0x454F46 << 3 << 'c';
        QTest::newRow("a run starts there") << 0x454F46 << 100 << 'r';
    }

    void ipsAvoidsTheEndMarkersOffset() {
        QFETCH(int, first);
        QFETCH(int, count);
        QFETCH(char, value);
        const QByteArray source(0x480000, '\0');
        QByteArray target = source;
        for (int i = first; i < first + count; ++i)
            target[i] = value == 'r' ? 'r' : char(i % 251 + 1);
        const QByteArray patch = MakeIps(source, target);
        const auto records = IpsRecords(patch);
        QVERIFY(!records.isEmpty());
        for (const auto& record : records) {
            QVERIFY(record.first != 0x454F46);
            QVERIFY(record.second <= 0xFFFF);
        }
        QVERIFY(ApplyIps(patch, source).image == target);
    }

    void crc() {
        QCOMPARE(Crc32("123456789"), 0xCBF43926u);
        QCOMPARE(Crc32(PatternedRom()), BitwiseCrc(PatternedRom()));
    }

    void diffLines_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::addColumn<QStringList>("lines");
        // Of the three bytes 0xEA at 0x1A2B, the first is race 26's tire grip.
        QTest::newRow("vectors") << PatchVector("base.pce") << PatchVector("target.pce")
                                 << QStringList{
                                        "Shops",
                                        "Buzz Motor price: 300 → 450 ($3,000 → $4,500)",
                                        "Slm Body price: 800 → 32000 ($8,000 → $320,000)",
                                        "Enemy Racers",
                                        "Race 12, prize money: 325 → 1234 ($3,250 → $12,340)",
                                        "Race 12, enemy racers' AI strength: 6 → 9",
                                        "Race 26, enemy racers' tire grip: 10 → 234",
                                        "Other bytes",
                                        "303 other bytes differ, at 0x1A2C–0x1A2D, "
                                        "0x30000–0x3012B and 0x5FFFF"};
        const QByteArray rom = ValidRom();
        QByteArray scattered = rom;
        for (int at : {3, 5, 7, 9, 11, 13})
            scattered[at] = 1;
        QTest::newRow("one byte") << rom << Changed(rom, 2, 1, 1)
                                  << QStringList{"Other bytes", "1 other byte differs, at 0x2"};
        QTest::newRow("more places than named")
            << rom << scattered
            << QStringList{"Other bytes",
                           "6 other bytes differ, at 0x3, 0x5, 0x7, 0x9 and 2 more places"};
    }

    void diffLines() {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        QFETCH(QStringList, lines);
        QStringList shown;
        for (const DiffGroup& group : DescribeDiff(DiffImages(before, after)))
            shown << group.title << group.lines;
        QCOMPARE(shown, lines);
    }
};

QTEST_APPLESS_MAIN(TestPatch)
#include "tst_patch.moc"
