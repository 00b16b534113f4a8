// The patch formats and the value diff, without a window: round trips of patches the program
// makes, their layout against the published one (read by this test's own decoder and
// checksums), and how the lines that name what differs count and place other bytes. The
// third-party patcher's patches are applied through the command line (tst_compare).
#include "core/patch.h"
#include "testsupport.h"

#include <QTest>
#include <QtEndian>

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
    return qFromLittleEndian<quint32>(bytes.constData() + at);
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
        switch (action & 3) {
        case 0:
            target += source.mid(target.size(), length);
            break;
        case 1:
            target += patch.mid(at, length);
            at += length;
            break;
        default:
            const quint64 offset = BpsNumber(patch, at);
            qint64& from = action & 1 ? targetAt : sourceAt;
            from += offset & 1 ? -qint64(offset >> 1) : qint64(offset >> 1);
            for (qint64 i = 0; i < length; ++i)
                target += (action & 1 ? target : source)[from++];
        }
    }
    return quint64(target.size()) == targetSize ? target : QByteArray();
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
    // Patches made from two images give the second from the first, in both formats, and a BPS
    // patch holds exactly the published layout with checksums recomputed here. Where lines are
    // given, they are what the value diff says of the two images.
    void twoImages_data() {
        QTest::addColumn<QByteArray>("source");
        QTest::addColumn<QByteArray>("target");
        QTest::addColumn<QStringList>("lines");
        const auto row = [](const char* name, const QByteArray& source, const QByteArray& target,
                            const QStringList& lines = {}) {
            QTest::newRow(name) << source << target << lines;
        };
        const QByteArray rom = PatternedRom();
        row("vectors", PatchVector("base.pce"), PatchVector("target.pce"));
        row("nothing changed", rom, rom);
        row("every byte", rom, Changed(rom, 0, kRomSize, char(0xFF)));
        QByteArray runs = rom;
        runs.replace(5000, 66000, QByteArray(66000, 'r'));
        runs.replace(80000, 9, QByteArray(9, 's'));
        row("runs of one value", rom, runs);
        // Moved and repeated stretches of bytes that occur nowhere else.
        QByteArray noise = rom, moved, repeated;
        quint32 seed = 1;
        for (char& byte : noise)
            byte = char((seed = seed * 1103515245 + 12345) >> 24);
        moved = noise;
        moved.insert(300000, moved.mid(1000, 20000)).remove(1000, 20000);
        repeated = noise;
        for (const int at : {100000, 200000, 200700})
            repeated.replace(at, 3000, noise.mid(5000, 3000));
        row("moved stretch", noise, moved);
        row("repeated stretches", noise, repeated);
        // No IPS record may start at 0x454F46, whose offset reads as "EOF": here a record split
        // lands there, a change starts there, and a run of one value starts there.
        QByteArray large(0x480000, '\0'), run;
        for (int i = 0; i < large.size(); ++i)
            large[i] = char(i * 7);
        run = large;
        run.replace(0x454F46, 100, QByteArray(100, 'r'));
        row("split at 0x454F46", large, Changed(large, 0x454F46 - 0xFFFF, 0x1000A, 1));
        row("change at 0x454F46", large, Changed(large, 0x454F46, 3, 2));
        row("run at 0x454F46", large, run);
        const QByteArray valid = ValidRom();
        row("one byte", valid, Changed(valid, 2, 1, 1),
            {"Other bytes", "1 other byte differs, at 0x2"});
        row("more places than named", valid,
            With(valid, "b0x3=1,b0x5=1,b0x7=1,b0x9=1,b0xB=1,b0xD=1"),
            {"Other bytes", "6 other bytes differ, at 0x3, 0x5, 0x7, 0x9 and 2 more places"});
    }

    void twoImages() {
        QFETCH(QByteArray, source);
        QFETCH(QByteArray, target);
        QFETCH(QStringList, lines);
        for (const PatchFormat format : {PatchFormat::Bps, PatchFormat::Ips}) {
            const QByteArray patch = MakePatch(format, source, target);
            QVERIFY(ApplyPatch(patch, source).image == target);
        }
        const QByteArray bps = MakeBps(source, target);
        QVERIFY(ReplayBps(bps, source) == target);
        QCOMPARE(Le32(bps, bps.size() - 12), BitwiseCrc(source));
        QCOMPARE(Le32(bps, bps.size() - 8), BitwiseCrc(target));
        QCOMPARE(Le32(bps, bps.size() - 4), BitwiseCrc(bps.chopped(4)));
        if (lines.isEmpty())
            return;
        QStringList shown;
        for (const DiffGroup& group : DescribeDiff(DiffImages(source, target)))
            shown << group.title << group.lines;
        QCOMPARE(shown, lines);
    }
};

QTEST_APPLESS_MAIN(TestPatch)
#include "tst_patch.moc"
