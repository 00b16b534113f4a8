#include "racerspage.h"

#include "app/listselection.h"
#include "app/programcontrol.h"
#include "app/romimage.h"
#include "roster.h"
#include "shops/captionrefresh.h"
#include "shops/captions.h"
#include "shops/numberbox.h"
#include "tracknames.h"

#include <QAbstractSlider>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

namespace kst {

namespace {

QLabel* Label(QWidget* window, const char* name) {
    return window->findChild<QLabel*>(QLatin1String(name));
}

// The picture for a screen of this density: pixel art enlarged by whole pixels rather than
// smoothed by the painter, still covering the box's logical size.
QPixmap ForDensity(const QPixmap& picture, qreal density) {
    if (density == 1.0)
        return picture;
    QPixmap enlarged = picture.scaled((QSizeF(picture.size()) * density).toSize(),
                                      Qt::IgnoreAspectRatio, Qt::FastTransformation);
    enlarged.setDevicePixelRatio(density);
    return enlarged;
}

} // namespace

RacersPage::RacersPage(QWidget* window, RomImage& rom, ProgramControl& control,
                       CaptionRefresh& refresh)
    : QObject(window), frame_(window->findChild<QWidget*>(QStringLiteral("EnemyFRA"))),
      tabs_(window->findChild<QWidget*>(QStringLiteral("tabs"))), rom_(rom), refresh_(refresh),
      list_(window->findChild<QListWidget*>(QStringLiteral("EnemyLST"))),
      money_(new NumberBox(window->findChild<QLineEdit*>(QStringLiteral("EnemyCashTXT")),
                           kPrizeMoneyCeiling, control)),
      moneyCaption_(Label(window, "MoneyxLBL")), enemy1Picture_(Label(window, "Enemy1IMG")),
      enemy1Name_(Label(window, "Enemy1LBL")), enemy2Picture_(Label(window, "Enemy2IMG")),
      enemy2Name_(Label(window, "Enemy2LBL")), track1Picture_(Label(window, "EnemyTrack1IMG")),
      track2Picture_(Label(window, "EnemyTrack2IMG")) {
    for (int race = 1; race <= kRaceCount; ++race)
        list_->addItem(QStringLiteral("Index %1").arg(race));
    for (std::size_t i = 0; i < sliders_.size(); ++i) {
        const RaceSetting& setting = kRaceSettings[i];
        sliders_[i] = window->findChild<QAbstractSlider*>(QLatin1String(setting.slider));
        sliders_[i]->setRange(0, setting.maximum);
        sliders_[i]->setSingleStep(setting.smallChange);
        sliders_[i]->setPageStep(setting.largeChange);
    }
    connect(list_, &QListWidget::currentRowChanged, this,
            [this, &control] { control.Handle([this] { LoadRace(); }); });
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
        unmovedPositions_[i] = sliders_[i]->value();
    }
    refresh_.Enable();
    frame_->setEnabled(true);
    tabs_->setEnabled(true);
}

void RacersPage::LoadMoney() {
    const quint16 money = rom_.ReadWord(RaceOffset(kPrizeMoneyOffset, SelectedRace()) + 1);
    money_->SetValue(money);
    moneyCaption_->setText(PrizeMoneyCaption(money));
}

void RacersPage::SaveEnemyData() {
    const int race = SelectedRace();
    for (std::size_t i = 0; i < sliders_.size(); ++i) {
        const int position = sliders_[i]->value();
        if (position == unmovedPositions_[i])
            continue;
        rom_.WriteByte(RaceOffset(kRaceSettings[i].offset, race) + 1,
                       static_cast<quint8>(position));
        unmovedPositions_[i] = position;
    }
}

void RacersPage::SaveMoney() {
    rom_.WriteWord(RaceOffset(kPrizeMoneyOffset, SelectedRace()) + 1,
                   static_cast<quint16>(money_->Value()));
}

void RacersPage::LoadPictures() {
    enemy1Name_->setText(QString());
    enemy2Picture_->hide();
    enemy2Name_->setText(QString());
    enemy2Name_->hide();
    const RaceRacers& racers = kRoster[SelectedRace()];
    ShowPortrait(enemy1Picture_, racers.first);
    if (racers.second.portrait)
        ShowPortrait(enemy2Picture_, racers.second);
    enemy1Name_->setText(QString::fromUtf8(racers.first.name));
    // The first name widens to fit; the second keeps its fixed size.
    enemy1Name_->adjustSize();
    if (racers.second.portrait) {
        enemy2Picture_->show();
        enemy2Name_->setText(QString::fromUtf8(racers.second.name));
        enemy2Name_->show();
    }
}

void RacersPage::ShowPortrait(QLabel* box, const Racer& racer) {
    box->setPixmap(ForDensity(pictures_.EnemiesIMG.Picture(QLatin1String(racer.portrait)),
                              box->devicePixelRatio()));
    // A screen reader names the picture by whom it shows; its description keeps the role.
    box->setAccessibleName(QString::fromUtf8(racer.name));
}

void RacersPage::ShowTrack(QLabel* box, const char* key) {
    box->setPixmap(
        ForDensity(pictures_.TrackIMG.Picture(QLatin1String(key)), box->devicePixelRatio()));
    box->setAccessibleName(QString::fromUtf8(TrackName(key)));
}

void RacersPage::LoadTrack() {
    // A hidden box keeps its picture; each picture is set before its box is shown.
    track1Picture_->hide();
    track2Picture_->hide();
    const RaceTracks& tracks = kTracks[SelectedRace()];
    if (!tracks.first)
        return;
    ShowTrack(track1Picture_, tracks.first);
    if (tracks.second)
        ShowTrack(track2Picture_, tracks.second);
    track1Picture_->show();
    if (tracks.second)
        track2Picture_->show();
}

} // namespace kst
