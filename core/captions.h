#pragma once

#include <QString>

namespace kst {

// "10 ($A)": a slider's value in decimal and in upper-case hexadecimal.
QString SliderCaption(int value);
// "x10 = $5000" for a prize money of 500 (tens of dollars).
QString PrizeMoneyCaption(int tensOfDollars);
// "($1500)" for a price of 150 (tens of dollars).
QString PriceCaption(int tensOfDollars);

} // namespace kst
