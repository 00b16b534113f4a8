// Value lists of the demo image: the median time to export every value as CSV and as JSON, and
// to import a list of all 201 values, each changed, into a copy of the image in place, as
// --import-values does: open with the checks, read, check the list whole and write what
// differs; then the same with the one flush, which waits for the disk. Goals: an export within
// 5 ms, an import checked and written within 20 ms.
//
//   bench_values [RUNS]
#include "benchsupport.h"
#include "core/opencheck.h"
#include "core/valueexchange.h"
#include "programnames.h"

#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

QByteArray DemoBytes() {
    QFile file(kst::bench::DemoImage());
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(file.fileName()));
        std::exit(1);
    }
    return file.readAll();
}

// The demo image with every value one step on, wrapping within its control's range.
QByteArray EveryValueChanged(const QByteArray& image) {
    QByteArray changed = image;
    for (const kst::Value& value : kst::AllValues(image))
        kst::PutValue(changed, *value.kind, value.index,
                      (value.number + 1) % (value.kind->maximum + 1));
    return changed;
}

void Import(const kst::FileName& name, kst::ValueFormat format, const QByteArray& list,
            bool flush) {
    kst::RomImage rom;
    const QString table =
        kst::bench::BuildFolder() + QLatin1Char('/') + QLatin1String(kst::kDataFileName);
    if (kst::OpenChecked(rom, name, table) != kst::OpenOutcome::Opened) {
        std::fprintf(stderr, "the copy of the demo image was refused\n");
        std::exit(1);
    }
    kst::ImageValues values(rom);
    const QByteArray current = values.ReadImage();
    const kst::ValueImport import = kst::ReadValueList(format, list, current);
    if (import.Refused() || import.changes.size() != 201) {
        std::fprintf(stderr, "the list was refused: %s\n", qPrintable(import.refusal));
        std::exit(1);
    }
    kst::WriteDifferences(values, current, kst::WithChanges(current, import.changes));
    if (flush)
        rom.Flush();
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    const QByteArray demo = DemoBytes(), changed = EveryValueChanged(demo);
    QTemporaryDir folder;
    const QString copy = folder.filePath(QStringLiteral("copy.pce"));
    QFile::copy(kst::bench::DemoImage(), copy);
    const kst::FileName name = kst::FileName::FromText(copy);
    // Back and forth, so that every import changes all 201 values.
    int imports = 0;
    for (const auto& [label, format] : {std::make_pair("csv", kst::ValueFormat::Csv),
                                        std::make_pair("json", kst::ValueFormat::Json)}) {
        std::printf("export_%s_us %.1f\n", label,
                    kst::bench::MedianMicroseconds(runs, [&] { kst::ExportValues(format, demo); }));
        const QByteArray lists[] = {kst::ExportValues(format, changed),
                                    kst::ExportValues(format, demo)};
        for (const bool flush : {false, true})
            std::printf("import_%s%s_us %.1f\n", label, flush ? "_flushed" : "",
                        kst::bench::MedianMicroseconds(
                            runs, [&] { Import(name, format, lists[imports++ % 2], flush); }));
    }
    return 0;
}
