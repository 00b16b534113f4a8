#include "shopspage.h"

#include "app/listselection.h"
#include "app/programcontrol.h"
#include "app/romimage.h"
#include "numberbox.h"

#include <QLineEdit>
#include <QListWidget>

namespace kst {

ShopsPage::ShopsPage(QWidget* window, RomImage& rom, ProgramControl& control)
    : QObject(window), rom_(rom) {
    columns_.reserve(kShopCategories.size());
    for (const ShopCategory& category : kShopCategories) {
        auto* list = window->findChild<QListWidget*>(QLatin1String(category.list));
        auto* box = window->findChild<QLineEdit*>(QLatin1String(category.priceBox));
        for (int i = 0; i < category.parts.count; ++i)
            list->addItem(QString::fromUtf8(category.parts.names[i]));
        columns_.push_back({&category, list, new NumberBox(box, kPriceCeiling, control)});
        const Column column = columns_.back();
        connect(list, &QListWidget::currentRowChanged, this,
                [this, column, &control] { control.Handle([&] { LoadPartData(column); }); });
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
