#include "romfile.h"

namespace kst {

namespace {

const QString kRomFilterList =
    QStringLiteral("All Files (*.*)|*.*|All PC Engine ROM Files (*.pce, *.bin)|*.pce;*.bin");
// Counted from 1, as the filter list counts its filters.
constexpr int kPreselectedFilter = 2;

} // namespace

QString VersionCaption(int major, int revision) {
    return QStringLiteral("Kestrune Toolbox - Version (v%1.%2)").arg(major).arg(revision);
}

QStringList NameFilters(const QString& filterList) {
    const QStringList parts = filterList.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'));
        // "*.*" means every file, also one without a dot in its name.
        patterns.replaceInStrings(QStringLiteral("*.*"), QStringLiteral("*"));
        // The description keeps its own text in brackets; the dialog shows only the
        // description, and takes its patterns from the last brackets.
        filters << QStringLiteral("%1 (%2)").arg(parts[i], patterns.join(QLatin1Char(' ')));
    }
    return filters;
}

QStringList RomNameFilters() {
    return NameFilters(kRomFilterList);
}

QString PreselectedRomFilter() {
    return RomNameFilters().at(kPreselectedFilter - 1);
}

} // namespace kst
