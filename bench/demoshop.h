#pragma once

// The "Shops" page as the demo image fills it at start-up: the first part of each category
// selected, its price in the box and that price in dollars in the caption. The floor program
// sets exactly this; the editor's start-up is complete once its window shows the same.
#include <QByteArray>
#include <QString>
#include <utility>
#include <vector>

class QLabel;

namespace kst::bench {

// A dollar caption and the price, in tens of dollars, whose dollars it must read.
using ShopCaption = std::pair<QLabel*, int>;

// The demo image, whole.
QByteArray DemoImageBytes();

// "($<ten times the price>)", the dollar caption of a price.
QString DollarCaption(int price);

// Whether every dollar caption reads its price. The texts are made once, since the check runs
// at every paint.
class ShopCaptionCheck {
public:
    explicit ShopCaptionCheck(const std::vector<ShopCaption>& captions);
    bool operator()() const;

private:
    std::vector<std::pair<QLabel*, QString>> captions_;
};

} // namespace kst::bench
