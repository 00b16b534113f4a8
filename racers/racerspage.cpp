#include "racerspage.h"

#include "core/captions.h"
#include "core/roster.h"
#include "core/tracknames.h"
#include "core/valuemodel.h"
#include "picturebox.h"
#include "widgets/captionrefresh.h"
#include "widgets/listselection.h"
#include "widgets/numberbox.h"
#include "widgets/programcontrol.h"
#include "widgets/widgets.h"

#include <QAbstractSlider>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

namespace kst {

RacersPage::RacersPage(QWidget* window, ImageValues& values, ProgramControl& control,
                       CaptionRefresh& refresh)
    : QObject(window), values_(values), list_(Child<QListWidget>(window, kRaceList.control)),
      enemy1Picture_(Child<QLabel>(window, "Enemy1IMG")),
      enemy1Name_(Child<QLabel>(window, "Enemy1LBL")),
      enemy2Picture_(Child<QLabel>(window, "Enemy2IMG")),
      enemy2Name_(Child<QLabel>(window, "Enemy2LBL")),
      track1Picture_(Child<QLabel>(window, "EnemyTrack1IMG")),
      track2Picture_(Child<QLabel>(window, "EnemyTrack2IMG")),
      enemy1Portrait_(new PictureBox(enemy1Picture_, pictures_.EnemiesIMG)),
      enemy2Portrait_(new PictureBox(enemy2Picture_, pictures_.EnemiesIMG)),
      track1_(new PictureBox(track1Picture_, pictures_.TrackIMG)),
      track2_(new PictureBox(track2Picture_, pictures_.TrackIMG)) {
    for (int race = 1; race <= kRaceCount; ++race)
        list_->addItem(QStringLiteral("Index %1").arg(race));
    // The refresh ticks the settings' captions first, then the prize money's.
    for (const ValueKind& kind : kValueKinds) {
        if (kind.entries != &kRaceList)
            continue;
        auto* caption = Child<QLabel>(window, kind.caption);
        if (kind.format != Format::Setting) {
            moneyKind_ = &kind;
            money_ = new NumberBox(Child<QLineEdit>(window, kind.control), kind.maximum, control);
            moneyCaption_ = caption;
            continue;
        }
        auto* slider = Child<QAbstractSlider>(window, kind.control);
        slider->setRange(0, kind.maximum);
        slider->setSingleStep(kind.smallChange);
        slider->setPageStep(kind.largeChange);
        refresh.Add(slider, caption, kind.format);
        settings_.push_back({&kind, slider, {}});
        // Every move but a load's is the user's, by mouse, keyboard or assistive technology.
        const std::size_t setting = settings_.size() - 1;
        control.Connect(slider, &QAbstractSlider::valueChanged, this, [this, setting] {
            if (!loading_)
                settings_[setting].loaded.Touch();
        });
    }
    refresh.Add(money_, moneyCaption_, moneyKind_->format);
    control.Connect(list_, &QListWidget::currentRowChanged, this, [this] { LoadRace(); });
}

void RacersPage::SelectFirstRace() {
    SelectRow(list_, 0, [this] { LoadRace(); });
}

void RacersPage::ReloadRace() {
    SelectRow(list_, SelectedRace(), [this] { LoadRace(); });
}

QStringList RacersPage::UnappliedValues() const {
    QStringList names;
    for (const Setting& setting : settings_)
        if (setting.loaded.Unapplied(setting.slider->value()))
            names << EntryLabel(*setting.kind, SelectedRace());
    if (money_->Unapplied())
        names << EntryLabel(*moneyKind_, SelectedRace());
    return names;
}

void RacersPage::AskBeforeMoving(const std::function<bool()>& settle) {
    kst::AskBeforeMoving(list_, [this, settle] { return UnappliedValues().isEmpty() || settle(); });
}

int RacersPage::SelectedRace() const {
    return list_->currentRow();
}

void RacersPage::LoadRace() {
    LoadEnemyData();
    LoadPictures();
    LoadTrack();
}

void RacersPage::LoadEnemyData() {
    const int race = SelectedRace();
    std::vector<int> stored;
    for (const Setting& setting : settings_)
        stored.push_back(values_.Read(*setting.kind, race));
    LoadMoney();
    loading_ = true;
    for (std::size_t i = 0; i < settings_.size(); ++i) {
        settings_[i].slider->setValue(stored[i]);
        settings_[i].loaded.Load(stored[i]);
    }
    loading_ = false;
    emit RaceLoaded();
}

void RacersPage::LoadMoney() {
    const int money = values_.Read(*moneyKind_, SelectedRace());
    money_->SetValue(money);
    moneyCaption_->setText(CaptionText(moneyKind_->format, money));
}

void RacersPage::SaveEnemyData() {
    const int race = SelectedRace();
    for (Setting& setting : settings_)
        setting.loaded.SaveIfChanged(setting.slider->value(), [&](int position) {
            values_.Write(*setting.kind, race, position);
        });
}

void RacersPage::SaveMoney() {
    money_->SaveIfChanged([this](int money) { values_.Write(*moneyKind_, SelectedRace(), money); });
}

void RacersPage::LoadPictures() {
    enemy1Name_->setText(QString());
    enemy2Picture_->hide();
    enemy2Name_->setText(QString());
    enemy2Name_->hide();
    const RaceRacers& racers = kRoster[SelectedRace()];
    ShowPortrait(*enemy1Portrait_, racers.first);
    if (racers.second.portrait)
        ShowPortrait(*enemy2Portrait_, racers.second);
    enemy1Name_->setText(QString::fromUtf8(racers.first.name));
    // The first name widens to fit; the second keeps its fixed size.
    enemy1Name_->adjustSize();
    // A label without text would be named after its frame's title by assistive technology,
    // so the hidden second name says that there is none; a shown one is named by its text.
    enemy2Name_->setAccessibleName(racers.second.portrait ? QString()
                                                          : QStringLiteral("No second racer"));
    if (racers.second.portrait) {
        enemy2Picture_->show();
        enemy2Name_->setText(QString::fromUtf8(racers.second.name));
        enemy2Name_->show();
    }
}

void RacersPage::ShowPortrait(PictureBox& box, const Racer& racer) {
    box.Show(QLatin1String(racer.portrait), QString::fromUtf8(racer.name));
}

void RacersPage::ShowTrack(PictureBox& box, const char* key) {
    box.Show(QLatin1String(key), QString::fromUtf8(TrackName(key)));
}

void RacersPage::LoadTrack() {
    // A hidden box keeps its picture; each picture is set before its box is shown.
    track1Picture_->hide();
    track2Picture_->hide();
    const RaceTracks& tracks = kTracks[SelectedRace()];
    if (!tracks.first)
        return;
    ShowTrack(*track1_, tracks.first);
    if (tracks.second)
        ShowTrack(*track2_, tracks.second);
    track1Picture_->show();
    if (tracks.second)
        track2Picture_->show();
}

} // namespace kst
