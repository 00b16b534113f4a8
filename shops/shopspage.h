#pragma once

#include "widgets/editorpage.h"

#include <memory>
#include <vector>

class QGroupBox;
class QListWidget;

namespace Ui {
class ShopsPage;
}

namespace kst {

class CaptionRefresh;
class ImageValues;
class NumberBox;
class ProgramControl;

// The "Shops" page: one list and one price box per shop category of the value table.
class ShopsPage : public EditorPage {
    Q_OBJECT

public:
    // Fills the frame from the page's form and registers the dollar captions with the refresh,
    // in page order.
    ShopsPage(QGroupBox* frame, ImageValues& values, ProgramControl& control,
              CaptionRefresh& refresh);
    ~ShopsPage() override;

    void LoadFirst() override { SelectFirstParts(); }
    void Reload() override { ReloadParts(); }
    QStringList UnappliedValues() const override;
    void Save() override { SaveShops(); }
    std::vector<ValueControls> Controls() const override;
    void AskBeforeMoving(const std::function<bool()>& settle) override;

private:
    struct Column {
        const ValueKind* kind;
        QListWidget* list;
        NumberBox* price;
        QLabel* caption;
    };

    // Selects the first part of every list, in page order, loading each price from the ROM.
    void SelectFirstParts();
    // Loads the selected part of every list again from the ROM.
    void ReloadParts();
    // Writes the price on show of each category's selected part, of those the user changed.
    void SaveShops();
    // The loader of every category's list: shows the selected part's stored price.
    void LoadPartData(const Column& column);

    std::unique_ptr<Ui::ShopsPage> ui_;
    ImageValues& values_;
    std::vector<Column> columns_;
};

} // namespace kst
