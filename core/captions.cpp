#include "captions.h"

namespace kst {

QString SliderCaption(int value) {
    return QStringLiteral("%1 ($%2)").arg(value).arg(QString::number(value, 16).toUpper());
}

QString PrizeMoneyCaption(int tensOfDollars) {
    return QStringLiteral("x10 = $%1").arg(10 * tensOfDollars);
}

QString PriceCaption(int tensOfDollars) {
    return QStringLiteral("($%1)").arg(10 * tensOfDollars);
}

} // namespace kst
