#include "racerspage.h"

#include "core/captionrefresh.h"
#include "core/captions.h"
#include "core/listselection.h"
#include "core/numberbox.h"
#include "core/programcontrol.h"
#include "core/romimage.h"
#include "core/widgets.h"
#include "data/roster.h"
#include "data/tracknames.h"
#include "picturebox.h"

#include <QAbstractSlider>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

namespace kst {

RacersPage::RacersPage(QWidget* window, RomImage& rom, ProgramControl& control,
                       CaptionRefresh& refresh)
    : QObject(window), rom_(rom), list_(Child<QListWidget>(window, "EnemyLST")),
      money_(new NumberBox(Child<QLineEdit>(window, "EnemyCashTXT"), kPrizeMoneyCeiling, control)),
      moneyCaption_(Child<QLabel>(window, "MoneyxLBL")),
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
    for (std::size_t i = 0; i < sliders_.size(); ++i) {
        const RaceSetting& setting = kRaceSettings[i];
        sliders_[i] = Child<QAbstractSlider>(window, setting.slider);
        sliders_[i]->setRange(0, setting.maximum);
        sliders_[i]->setSingleStep(setting.smallChange);
        sliders_[i]->setPageStep(setting.largeChange);
        refresh.Add(sliders_[i], Child<QLabel>(window, setting.caption), SliderCaption);
    }
    refresh.Add(money_, moneyCaption_, PrizeMoneyCaption);
    control.Connect(list_, &QListWidget::currentRowChanged, this, [this] { LoadRace(); });
}

void RacersPage::SelectFirstRace() {
    SelectRow(list_, 0, [this] { LoadRace(); });
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
    std::array<int, std::size(kRaceSettings)> stored{};
    for (std::size_t i = 0; i < stored.size(); ++i)
        stored[i] = rom_.ReadByte(RaceOffset(kRaceSettings[i].offset, race) + 1);
    LoadMoney();
    for (std::size_t i = 0; i < stored.size(); ++i) {
        sliders_[i]->setValue(stored[i]);
        loaded_[i].Load(sliders_[i]->value());
    }
    emit RaceLoaded();
}

void RacersPage::LoadMoney() {
    const quint16 money = rom_.ReadWord(RaceOffset(kPrizeMoneyOffset, SelectedRace()) + 1);
    money_->SetValue(money);
    moneyCaption_->setText(PrizeMoneyCaption(money));
}

void RacersPage::SaveEnemyData() {
    const int race = SelectedRace();
    for (std::size_t i = 0; i < sliders_.size(); ++i)
        loaded_[i].SaveIfChanged(sliders_[i]->value(), [&](int position) {
            rom_.WriteByte(RaceOffset(kRaceSettings[i].offset, race) + 1,
                           static_cast<quint8>(position));
        });
}

void RacersPage::SaveMoney() {
    money_->SaveIfChanged([this](int money) {
        rom_.WriteWord(RaceOffset(kPrizeMoneyOffset, SelectedRace()) + 1,
                       static_cast<quint16>(money));
    });
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
