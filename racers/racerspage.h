#pragma once

#include "core/loadedvalue.h"
#include "picturecatalogue.h"
#include "widgets/editorpage.h"

#include <memory>
#include <vector>

class QAbstractSlider;

namespace Ui {
class RacersPage;
}

namespace kst {

class CaptionRefresh;
class NumberBox;
class PictureBox;
class ProgramControl;
class ImageValues;
struct Racer;
struct ValueKind;

// The "Enemy Racers" page: the race list, the enemy settings on sliders, the prize
// money, and the portraits, names and tracks of the selected race's enemy racers.
class RacersPage : public EditorPage {
    Q_OBJECT

public:
    // Fills the frame from the page's form and registers the settings' captions and the
    // prize money caption with the refresh, which the first race loaded starts.
    RacersPage(QGroupBox* frame, ImageValues& values, ProgramControl& control,
               CaptionRefresh& refresh);
    ~RacersPage() override;

    void LoadFirst() override { SelectFirstRace(); }
    void Reload() override { ReloadRace(); }
    // The settings and prize money on show that the user changed.
    QStringList UnappliedValues() const override;
    void Save() override;
    std::vector<ValueControls> Controls() const override { return controls_; }
    void AskBeforeMoving(const std::function<bool()>& settle) override;

private:
    // Selects the first race, loading it as a click on it would.
    void SelectFirstRace();
    // Writes the slider positions the user changed into the selected race's record.
    void SaveEnemyData();
    // Writes the prize money box into the selected race's record if the user changed it.
    void SaveMoney();
    // Loads the selected race again from the ROM.
    void ReloadRace();
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

    std::unique_ptr<Ui::RacersPage> ui_;
    PictureCatalogue pictures_;
    ImageValues& values_;
    CaptionRefresh& refresh_;
    const ValueKind* moneyKind_ = nullptr;
    NumberBox* money_ = nullptr;
    QLabel* moneyCaption_ = nullptr;
    PictureBox* enemy1Portrait_ = nullptr;
    PictureBox* enemy2Portrait_ = nullptr;
    PictureBox* track1_ = nullptr;
    PictureBox* track2_ = nullptr;
    std::vector<Setting> settings_;
    std::vector<ValueControls> controls_;
    bool loading_ = false;
};

} // namespace kst
