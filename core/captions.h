#pragma once

#include "valuemodel.h"

#include <QString>

namespace kst {

// The caption that translates a value as the window shows it: "($1500)" for a price of 150
// (tens of dollars), "x10 = $5000" for a prize money of 500, "10 ($A)" for a setting of 10.
QString CaptionText(Format format, int value);

// The same value as a screen reader should say it: "$4,560" for 456 tens of dollars; "22, hex
// 16" for a setting, since "22 ($16)" read aloud would take the hexadecimal for dollars.
QString SpokenValue(Format format, int value);

} // namespace kst
