#include "captions.h"

#include <QLocale>

namespace kst {

QString CaptionText(Format format, int value) {
    switch (format) {
    case Format::Price:
        return QStringLiteral("($%1)").arg(10 * qint64(value));
    case Format::PrizeMoney:
        return QStringLiteral("x10 = $%1").arg(10 * qint64(value));
    case Format::Setting:
        break;
    }
    return QStringLiteral("%1 ($%2)").arg(value).arg(QString::number(value, 16).toUpper());
}

QString PrintedDollars(qint64 tensOfDollars) {
    return QLatin1Char('$') +
           QLocale(QLocale::English, QLocale::UnitedStates).toString(10 * tensOfDollars);
}

} // namespace kst
