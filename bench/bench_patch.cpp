// Patches of a 393,216-byte image: the size of the BPS and IPS patches the program makes from
// the shared vectors' base to their target, beside the third-party patcher's, and the median
// time to make and to apply each, the apply with every check (three checksums for BPS). The
// goal: no larger than the third-party linear BPS and IPS, and well under 10 ms each, but for
// making a BPS, which searches both images for moved stretches: under 500 ms.
//
//   bench_patch [RUNS]
#include "benchsupport.h"
#include "core/patch.h"

#include <QFile>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

QByteArray Vector(const char* name) {
    QFile file(QStringLiteral(KST_PATCH_VECTORS "/") + QLatin1String(name));
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(file.fileName()));
        std::exit(1);
    }
    return file.readAll();
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    const QByteArray base = Vector("base.pce"), target = Vector("target.pce");
    const struct {
        const char* name;
        kst::PatchFormat format;
        const char* theirs;
    } formats[] = {{"bps", kst::PatchFormat::Bps, "flips-linear.bps"},
                   {"ips", kst::PatchFormat::Ips, "flips.ips"}};
    for (const auto& format : formats) {
        const QByteArray patch = kst::MakePatch(format.format, base, target);
        if (kst::ApplyPatch(patch, base).image != target) {
            std::fprintf(stderr, "the %s patch does not give the target\n", format.name);
            return 1;
        }
        std::printf("%s_bytes %lld %lld\n", format.name, qint64(patch.size()),
                    qint64(Vector(format.theirs).size()));
        std::printf("%s_make_us %.1f\n", format.name, kst::bench::MedianMicroseconds(runs, [&] {
                        kst::MakePatch(format.format, base, target);
                    }));
        std::printf("%s_apply_us %.1f\n", format.name,
                    kst::bench::MedianMicroseconds(runs, [&] { kst::ApplyPatch(patch, base); }));
    }
    std::printf("bps_delta_theirs_bytes %lld\n", qint64(Vector("flips-delta.bps").size()));
    return 0;
}
