#pragma once

#include <QObject>
#include <vector>

class QListWidget;
class QWidget;

namespace kst {

class CaptionRefresh;
class ImageValues;
class NumberBox;
class ProgramControl;
struct ValueKind;

// The "Shops" page: one list and one price box per shop category of the value table.
class ShopsPage : public QObject {
    Q_OBJECT

public:
    // Registers the five dollar captions with the refresh, in page order.
    ShopsPage(QWidget* window, ImageValues& values, ProgramControl& control,
              CaptionRefresh& refresh);

    // Selects the first part of every list, in page order, loading each price from the ROM.
    void SelectFirstParts();
    // Selects the selected part of every list again, as a click on it would, so each price
    // shown is the one the file holds now.
    void ReloadParts();
    // Writes the price on show of each category's selected part, of those the user changed.
    void SaveShops();

private:
    struct Column {
        const ValueKind* kind;
        QListWidget* list;
        NumberBox* price;
    };

    // The loader of every category's list: shows the selected part's stored price.
    void LoadPartData(const Column& column);

    ImageValues& values_;
    std::vector<Column> columns_;
};

} // namespace kst
