#include "demoshop.h"

#include "benchsupport.h"
#include "data/shoptable.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

namespace kst::bench {

std::vector<ShopColumnValues> DemoShopColumns() {
    QFile file(DemoImage());
    if (!file.open(QIODevice::ReadOnly))
        qFatal("no demo image at %s", qPrintable(DemoImage()));
    std::vector<ShopColumnValues> columns;
    for (const ShopCategory& category : kShopCategories) {
        uchar word[2] = {};
        if (!file.seek(PriceOffset(category, 0)) ||
            file.read(reinterpret_cast<char*>(word), 2) != 2)
            qFatal("the demo image is too short");
        columns.push_back(
            {category.list, category.priceBox, category.dollarCaption, word[0] | word[1] << 8});
    }
    return columns;
}

std::vector<ShopColumnValues> ShopColumnsOnShow(QWidget* window) {
    std::vector<ShopColumnValues> columns;
    for (const ShopCategory& category : kShopCategories) {
        auto* box = window->findChild<QLineEdit*>(QLatin1String(category.priceBox));
        columns.push_back(
            {category.list, category.priceBox, category.dollarCaption, box->text().toInt()});
    }
    return columns;
}

QString DollarCaption(int price) {
    return QStringLiteral("($%1)").arg(10 * price);
}

ShopCaptionCheck::ShopCaptionCheck(QWidget* window, const std::vector<ShopColumnValues>& columns) {
    for (const ShopColumnValues& column : columns)
        captions_.emplace_back(window->findChild<QLabel*>(QLatin1String(column.dollarCaption)),
                               DollarCaption(column.price));
}

bool ShopCaptionCheck::operator()() const {
    for (const auto& [caption, text] : captions_)
        if (caption->text() != text)
            return false;
    return true;
}

} // namespace kst::bench
