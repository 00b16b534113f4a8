#pragma once

#include <QObject>
#include <QStringList>
#include <functional>
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
    // Writes the price on show of each category's selected part, of those the user changed.
    void SaveShops();
    // Loads the selected part of every list again from the ROM.
    void ReloadParts();
    // The names of the prices on show that the user changed and a save would write.
    QStringList UnappliedValues() const;
    // A move in a list that would drop its typed price runs settle() first and goes ahead only
    // when it returns true.
    void AskBeforeMoving(const std::function<bool()>& settle);

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
