// The BPS patches the program makes, beside the third-party patcher's delta BPS of the same pair,
// over seeded cases of every kind of change, and the time to apply a patch that changes every
// other byte: ours through the real image file with the program's --apply-patch, theirs with
// its --apply. Each of our patches must give the target, through our reader and theirs. The
// goal: no case larger than theirs by more than 1%, none larger for value edits (a miss exits
// 1), and the apply within three times theirs.
//
//   bench_patchsize [RUNS]
#include "core/patch.h"
#include "core/valuemodel.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <vector>

namespace {

using Random = std::mt19937;

[[noreturn]] void Fail(const QString& why) {
    std::fprintf(stderr, "bench_patchsize: %s\n", qPrintable(why));
    std::exit(2);
}

void Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        Fail(QStringLiteral("cannot write %1").arg(path));
}

QByteArray Read(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        Fail(QStringLiteral("cannot read %1").arg(path));
    return file.readAll();
}

// Runs a program to its end, its output dropped; a failure ends the benchmark.
void Run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        Fail(QStringLiteral("%1 %2 failed: %3")
                 .arg(program, arguments.join(QLatin1Char(' ')),
                      QString::fromLocal8Bit(process.readAllStandardError())));
}

// The third-party patcher, built from its source beside the clone by its own script.
QString BuildFlips() {
    const QString script = QStringLiteral(KST_FLIPS_SOURCE "/build.sh");
    if (!QFile::exists(script))
        Fail(QStringLiteral("the third-party patcher's source is missing: %1").arg(script));
    QProcess build;
    build.start(script, {});
    build.waitForFinished(600000);
    const QString flips = QString::fromLocal8Bit(build.readAllStandardOutput()).trimmed();
    if (build.exitCode() != 0 || !QFile::exists(flips))
        Fail(QStringLiteral("%1 built no program").arg(script));
    return flips;
}

qint64 Below(Random& random, qint64 bound) {
    return qint64(random() % quint64(bound));
}

QByteArray RandomBytes(Random& random, qint64 count) {
    QByteArray bytes(count, '\0');
    for (char& byte : bytes)
        byte = char(random() & 0xFF);
    return bytes;
}

// An image laid out as a game's: code-like bytes, fills of 0x00 and 0xFF, text, and tables that
// repeat earlier ones with a few bytes changed. The identification word stays, so the program
// opens it.
QByteArray GameLike(Random& random) {
    QByteArray image = kst::BlankImage();
    for (qint64 at = 2; at < image.size();) {
        const qint64 length = std::min<qint64>(256 + Below(random, 8192), image.size() - at);
        QByteArray stretch;
        switch (Below(random, 4)) {
        case 0:
            stretch = RandomBytes(random, length);
            break;
        case 1:
            stretch = QByteArray(length, Below(random, 2) ? '\xFF' : '\0');
            break;
        case 2:
            stretch = RandomBytes(random, length);
            for (char& byte : stretch)
                byte = char('A' + quint8(byte) % 26);
            break;
        default:
            stretch = image.mid(2 + Below(random, at - 1), length).leftJustified(length, '\0');
            for (int i = 0; i < 8; ++i)
                stretch[Below(random, length)] = char(random());
        }
        image.replace(at, length, stretch);
        at += length;
    }
    return image;
}

// A place for a stretch of length bytes that leaves the identification word alone.
qint64 Place(Random& random, const QByteArray& image, qint64 length) {
    return 2 + Below(random, image.size() - 2 - length);
}

QByteArray ValueEdits(Random& random, QByteArray image) {
    for (int i = 0; i < 6; ++i) {
        const kst::ValueKind& kind = kst::kValueKinds[Below(random, kst::kValueKinds.size())];
        kst::PutValue(image, kind, int(Below(random, kind.entries->count)),
                      int(Below(random, kind.maximum + 1)));
    }
    return image;
}

QByteArray ScatteredBytes(Random& random, QByteArray image) {
    for (int i = 0; i < 400; ++i)
        image[Place(random, image, 1)] = char(random());
    return image;
}

QByteArray EveryOtherByte(Random&, QByteArray image) {
    for (qint64 at = 2; at < image.size(); at += 2)
        image[at] = char(image[at] ^ 0x5A);
    return image;
}

// A stretch cut out and put in again elsewhere, the bytes between moving up or down.
QByteArray MovedBlock(Random& random, QByteArray image) {
    const qint64 length = 1024 + Below(random, 30000);
    const qint64 from = Place(random, image, length);
    const QByteArray block = image.mid(from, length);
    image.remove(from, length);
    image.insert(Place(random, image, 0), block);
    return image;
}

QByteArray RepeatedBlocks(Random& random, QByteArray image) {
    const qint64 length = 512 + Below(random, 4096);
    const QByteArray block = image.mid(Place(random, image, length), length);
    for (int i = 0; i < 8; ++i)
        image.replace(Place(random, image, length), length, block);
    return image;
}

QByteArray RandomRegions(Random& random, QByteArray image) {
    for (int i = 0; i < 6; ++i) {
        const qint64 length = 256 + Below(random, 8192);
        image.replace(Place(random, image, length), length, RandomBytes(random, length));
    }
    return image;
}

QByteArray Fills(Random& random, QByteArray image) {
    for (int i = 0; i < 6; ++i) {
        const qint64 length = 64 + Below(random, 8192);
        image.replace(Place(random, image, length), length, QByteArray(length, char(random())));
    }
    return image;
}

const struct {
    const char* name;
    QByteArray (*make)(Random&, QByteArray);
    bool valueEdits; // ours may never be larger
} kKinds[] = {{"values", ValueEdits, true},
              {"scattered", ScatteredBytes, false},
              {"every-other-byte", EveryOtherByte, false},
              {"moved-block", MovedBlock, false},
              {"repeated-blocks", RepeatedBlocks, false},
              {"random-regions", RandomRegions, false},
              {"fills", Fills, false}};
constexpr int kSeeds = 3;

double MedianMilliseconds(int runs, const std::function<void()>& prepare,
                          const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        prepare();
        QElapsedTimer clock;
        clock.start();
        work();
        times.push_back(clock.nsecsElapsed() / 1e6);
    }
    std::nth_element(times.begin(), times.begin() + runs / 2, times.end());
    return times[runs / 2];
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 11;
    const QString flips = BuildFlips();
    const QString program = QStringLiteral(KST_PROGRAM);
    QTemporaryDir dir;
    const auto path = [&](const char* name) { return dir.filePath(QLatin1String(name)); };
    int missed = 0;
    qint64 oursTotal = 0, theirsTotal = 0;
    double slowestMake = 0;
    std::printf("%-18s %4s %10s %10s %7s\n", "case", "seed", "ours", "theirs", "ratio");
    for (const auto& kind : kKinds) {
        for (int seed = 1; seed <= kSeeds; ++seed) {
            Random random(seed);
            const QByteArray base = GameLike(random);
            const QByteArray target = kind.make(random, base);
            QElapsedTimer clock;
            clock.start();
            const QByteArray ours = kst::MakeBps(base, target);
            slowestMake = std::max(slowestMake, clock.nsecsElapsed() / 1e6);
            Write(path("base"), base);
            Write(path("target"), target);
            Write(path("ours.bps"), ours);
            Run(flips,
                {"--create", "--bps-delta", path("base"), path("target"), path("theirs.bps")});
            Run(flips, {"--apply", path("ours.bps"), path("base"), path("applied")});
            if (kst::ApplyBps(ours, base).image != target || Read(path("applied")) != target)
                Fail(QStringLiteral("our %1 patch (seed %2) does not give the target")
                         .arg(QLatin1String(kind.name))
                         .arg(seed));
            const qint64 theirs = Read(path("theirs.bps")).size();
            const bool over =
                kind.valueEdits ? ours.size() > theirs : ours.size() * 100 > theirs * 101;
            missed += over;
            oursTotal += ours.size();
            theirsTotal += theirs;
            std::printf("%-18s %4d %10lld %10lld %7.3f%s\n", kind.name, seed, qint64(ours.size()),
                        theirs, double(ours.size()) / theirs, over ? "  MISSED" : "");
        }
    }
    std::printf("bps_delta_bytes %lld %lld\n", oursTotal, theirsTotal);
    std::printf("bps_delta_missed %d\n", missed);
    std::printf("bps_make_slowest_ms %.1f\n", slowestMake);

    // The every-other-byte case of the first seed, applied to a copy of its base, which each
    // run puts back.
    Random random(1);
    const QByteArray base = GameLike(random), target = EveryOtherByte(random, base);
    Write(path("ours.bps"), kst::MakeBps(base, target));
    Write(path("base"), base);
    Write(path("target"), target);
    Run(flips, {"--create", "--bps-delta", path("base"), path("target"), path("theirs.bps")});
    const auto restore = [&] { Write(path("image.pce"), base); };
    const double oursMs = MedianMilliseconds(runs, restore, [&] {
        Run(program, {"--apply-patch", path("ours.bps"), path("image.pce")});
    });
    if (Read(path("image.pce")) != target)
        Fail(QStringLiteral("--apply-patch did not give the target"));
    const double theirsMs = MedianMilliseconds(runs, restore, [&] {
        Run(flips, {"--apply", path("theirs.bps"), path("base"), path("image.pce")});
    });
    std::printf("every_other_byte_apply_ms %.1f %.1f\n", oursMs, theirsMs);
    return missed > 0 ? 1 : 0;
}
