#include "shopspage.h"

#include "core/captionrefresh.h"
#include "core/captions.h"
#include "core/listselection.h"
#include "core/numberbox.h"
#include "core/programcontrol.h"
#include "core/romimage.h"
#include "core/widgets.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

namespace kst {

ShopsPage::ShopsPage(QWidget* window, RomImage& rom, ProgramControl& control,
                     CaptionRefresh& refresh)
    : QObject(window), rom_(rom) {
    columns_.reserve(kShopCategories.size());
    for (const ShopCategory& category : kShopCategories) {
        auto* list = Child<QListWidget>(window, category.list);
        for (int i = 0; i < category.parts.count; ++i)
            list->addItem(QString::fromUtf8(category.parts.names[i]));
        auto* price =
            new NumberBox(Child<QLineEdit>(window, category.priceBox), kPriceCeiling, control);
        refresh.Add(price, Child<QLabel>(window, category.dollarCaption), PriceCaption);
        columns_.push_back({&category, list, price});
        const Column column = columns_.back();
        control.Connect(list, &QListWidget::currentRowChanged, this,
                        [this, column] { LoadPartData(column); });
    }
}

void ShopsPage::SelectFirstParts() {
    for (const Column& column : columns_)
        SelectRow(column.list, 0, [&] { LoadPartData(column); });
}

void ShopsPage::LoadPartData(const Column& column) {
    const int entry = column.list->currentRow();
    // Setting the text runs the change rule at once, so a stored price above the ceiling shows
    // as the ceiling, and is left in the file until the user changes the box.
    column.price->SetValue(rom_.ReadWord(PriceOffset(*column.category, entry) + 1));
}

void ShopsPage::SaveShops() {
    for (const Column& column : columns_) {
        const int entry = column.list->currentRow();
        column.price->SaveIfChanged([&](int price) {
            rom_.WriteWord(PriceOffset(*column.category, entry) + 1, static_cast<quint16>(price));
        });
    }
}

} // namespace kst
