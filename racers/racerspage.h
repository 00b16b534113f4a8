#pragma once

#include "core/loadedvalue.h"
#include "picturecatalogue.h"

#include <QObject>
#include <QStringList>
#include <functional>
#include <vector>

class QAbstractSlider;
class QLabel;
class QListWidget;
class QWidget;

namespace kst {

class CaptionRefresh;
class NumberBox;
class PictureBox;
class ProgramControl;
class ImageValues;
struct Racer;
struct ValueKind;

// The "Enemy Racers" page: the race list, the enemy settings on three sliders, the prize
// money, and the portraits, names and tracks of the selected race's enemy racers.
class RacersPage : public QObject {
    Q_OBJECT

public:
    // Registers the three slider captions and the prize money caption with the refresh.
    RacersPage(QWidget* window, ImageValues& values, ProgramControl& control,
               CaptionRefresh& refresh);

    // Selects the first race, loading it as a click on it would.
    void SelectFirstRace();
    // Writes the slider positions the user changed into the selected race's record.
    void SaveEnemyData();
    // Writes the prize money box into the selected race's record if the user changed it.
    void SaveMoney();
    // Loads the selected race again from the ROM.
    void ReloadRace();
    // The names of the settings and prize money on show that the user changed and a save
    // would write.
    QStringList UnappliedValues() const;
    // A move in the race list that would drop a typed or moved value runs settle() first and
    // goes ahead only when it returns true.
    void AskBeforeMoving(const std::function<bool()>& settle);

signals:
    // A race's settings have been loaded into the page; the window turns the editors on.
    void RaceLoaded();

private:
    // What selecting a race runs.
    void LoadRace();
    void LoadEnemyData();
    void LoadMoney();
    // Shows the portraits and names of the selected race's racers.
    void LoadPictures();
    // Shows the track pictures of the selected race's racers.
    void LoadTrack();
    // Puts a racer's portrait or a track's picture into a box, named after what it shows.
    void ShowPortrait(PictureBox& box, const Racer& racer);
    void ShowTrack(PictureBox& box, const char* key);
    int SelectedRace() const;

    // A setting of the enemy racers on its slider, with the value the file held when its race
    // was loaded or last saved. A stored byte above the slider's maximum shows as the maximum
    // and is only rewritten once the user has moved the slider.
    struct Setting {
        const ValueKind* kind;
        QAbstractSlider* slider;
        LoadedValue loaded;
    };

    PictureCatalogue pictures_;
    ImageValues& values_;
    QListWidget* list_;
    const ValueKind* moneyKind_ = nullptr;
    NumberBox* money_ = nullptr;
    QLabel* moneyCaption_ = nullptr;
    QLabel* enemy1Picture_;
    QLabel* enemy1Name_;
    QLabel* enemy2Picture_;
    QLabel* enemy2Name_;
    QLabel* track1Picture_;
    QLabel* track2Picture_;
    PictureBox* enemy1Portrait_;
    PictureBox* enemy2Portrait_;
    PictureBox* track1_;
    PictureBox* track2_;
    std::vector<Setting> settings_;
    bool loading_ = false;
};

} // namespace kst
