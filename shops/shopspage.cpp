#include "shopspage.h"

#include "core/valuemodel.h"
#include "widgets/captionrefresh.h"
#include "widgets/listselection.h"
#include "widgets/numberbox.h"
#include "widgets/programcontrol.h"
#include "widgets/widgets.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

namespace kst {

ShopsPage::ShopsPage(QWidget* window, ImageValues& values, ProgramControl& control,
                     CaptionRefresh& refresh)
    : QObject(window), values_(values) {
    for (const ValueKind& kind : kValueKinds) {
        if (kind.entries == &kRaceList)
            continue;
        auto* list = Child<QListWidget>(window, kind.entries->control);
        for (int i = 0; i < kind.entries->count; ++i)
            list->addItem(QString::fromUtf8(kind.entries->names[i]));
        auto* price = new NumberBox(Child<QLineEdit>(window, kind.control), kind.maximum, control);
        refresh.Add(price, Child<QLabel>(window, kind.caption), kind.format);
        columns_.push_back({&kind, list, price});
        const Column column = columns_.back();
        control.Connect(list, &QListWidget::currentRowChanged, this,
                        [this, column] { LoadPartData(column); });
    }
}

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
