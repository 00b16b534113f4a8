#pragma once

#include "data/shoptable.h"

#include <QObject>
#include <vector>

class QListWidget;
class QWidget;

namespace kst {

class CaptionRefresh;
class NumberBox;
class ProgramControl;
class RomImage;

// The "Shops" page: one list and one price box per category, all driven by kShopCategories.
class ShopsPage : public QObject {
    Q_OBJECT

public:
    // Registers the five dollar captions with the refresh, in page order.
    ShopsPage(QWidget* window, RomImage& rom, ProgramControl& control, CaptionRefresh& refresh);

    // Selects the first part of every list, in page order, loading each price from the ROM.
    void SelectFirstParts();
    // Writes the price on show of each category's selected part, of those the user changed.
    void SaveShops();

private:
    struct Column {
        const ShopCategory* category;
        QListWidget* list;
        NumberBox* price;
    };

    // The loader of every category's list: shows the selected part's stored price.
    void LoadPartData(const Column& column);

    RomImage& rom_;
    std::vector<Column> columns_;
};

} // namespace kst
