#include "shopspage.h"

#include "core/valuemodel.h"
#include "shopcolumns.h"
#include "widgets/captionrefresh.h"
#include "widgets/listselection.h"
#include "widgets/numberbox.h"
#include "widgets/programcontrol.h"

namespace kst {

ShopsPage::ShopsPage(QGroupBox* frame, ImageValues& values, ProgramControl& control,
                     CaptionRefresh& refresh)
    : EditorPage(frame), ui_(std::make_unique<Ui::ShopsPage>()), values_(values) {
    ui_->setupUi(frame);
    for (const ValueKind& kind : kValueKinds) {
        if (kind.page != Page::Shops)
            continue;
        const ShopColumn& binding = BindingOf(kShopColumns, kind.name);
        QListWidget* list = ui_.get()->*binding.list;
        for (int i = 0; i < kind.entries->count; ++i)
            list->addItem(QString::fromUtf8(kind.entries->names[i]));
        auto* price = new NumberBox(ui_.get()->*binding.price, kind.maximum, control);
        QLabel* caption = ui_.get()->*binding.caption;
        refresh.Add(price, caption, kind.format);
        columns_.push_back({&kind, list, price, caption});
        const Column column = columns_.back();
        control.Connect(list, &QListWidget::currentRowChanged, this,
                        [this, column] { LoadPartData(column); });
    }
}

ShopsPage::~ShopsPage() = default;

void ShopsPage::SelectFirstParts() {
    for (const Column& column : columns_)
        SelectRow(column.list, 0, [&] { LoadPartData(column); });
}

void ShopsPage::ReloadParts() {
    for (const Column& column : columns_)
        SelectRow(column.list, column.list->currentRow(), [&] { LoadPartData(column); });
}

QStringList ShopsPage::UnappliedValues() const {
    QStringList names;
    for (const Column& column : columns_)
        if (column.price->Unapplied())
            names << EntryLabel(*column.kind, column.list->currentRow());
    return names;
}

void ShopsPage::AskBeforeMoving(const std::function<bool()>& settle) {
    for (const Column& column : columns_)
        kst::AskBeforeMoving(column.list,
                             [column, settle] { return !column.price->Unapplied() || settle(); });
}

std::vector<ValueControls> ShopsPage::Controls() const {
    std::vector<ValueControls> controls;
    for (const Column& column : columns_)
        controls.push_back({column.kind, column.list, column.price->Box(), column.caption});
    return controls;
}

void ShopsPage::LoadPartData(const Column& column) {
    // Setting the text runs the change rule at once, so a stored price above the ceiling shows
    // as the ceiling, and is left in the file until the user changes the box.
    column.price->SetValue(values_.Read(*column.kind, column.list->currentRow()));
}

void ShopsPage::SaveShops() {
    for (const Column& column : columns_) {
        const int entry = column.list->currentRow();
        column.price->SaveIfChanged([&](int price) { values_.Write(*column.kind, entry, price); });
    }
}

} // namespace kst
