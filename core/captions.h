#pragma once

#include "valuemodel.h"

#include <QString>

namespace kst {

// The caption that translates a value as the window shows it: "($1500)" for a price of 150
// (tens of dollars), "x10 = $5000" for a prize money of 500, "10 ($A)" for a setting of 10.
QString CaptionText(Format format, int value);

// The dollars that tensOfDollars stands for, as --diff, Compare and the previews print them:
// "$4,560" for 456.
QString PrintedDollars(qint64 tensOfDollars);

} // namespace kst
