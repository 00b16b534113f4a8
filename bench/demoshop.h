#pragma once

// The "Shops" page as the demo image fills it at start-up: the first part of each category
// selected, its price in the box and that price in dollars in the caption. The floor program
// sets exactly this; the editor's start-up is complete once its window shows the same.
#include <QString>
#include <utility>
#include <vector>

class QLabel;
class QWidget;

namespace kst::bench {

struct ShopColumnValues {
    const char* list;
    const char* priceBox;
    const char* dollarCaption;
    int price; // tens of dollars, as stored
};

// The five columns, with the prices the demo image holds for their first parts.
std::vector<ShopColumnValues> DemoShopColumns();

// The five columns, with the prices a window's price boxes show.
std::vector<ShopColumnValues> ShopColumnsOnShow(QWidget* window);

// "($<ten times the price>)", the dollar caption of a price.
QString DollarCaption(int price);

// Whether every dollar caption of a window reads its column's price. The captions and their
// texts are looked up once, since the check runs at every paint.
class ShopCaptionCheck {
public:
    ShopCaptionCheck(QWidget* window, const std::vector<ShopColumnValues>& columns);
    bool operator()() const;

private:
    std::vector<std::pair<QLabel*, QString>> captions_;
};

} // namespace kst::bench
