#include "racerspage.h"

#include "app/listselection.h"
#include "app/programcontrol.h"
#include "app/romimage.h"
#include "shops/captionrefresh.h"
#include "shops/captions.h"
#include "shops/numberbox.h"

#include <QAbstractSlider>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>

namespace kst {

RacersPage::RacersPage(QWidget* window, RomImage& rom, ProgramControl& control,
                       CaptionRefresh& refresh)
    : QObject(window), window_(window), rom_(rom), refresh_(refresh),
      list_(window->findChild<QListWidget*>(QStringLiteral("EnemyLST"))),
      money_(new NumberBox(window->findChild<QLineEdit*>(QStringLiteral("EnemyCashTXT")),
                           kPrizeMoneyCeiling, control)),
      moneyCaption_(window->findChild<QLabel*>(QStringLiteral("MoneyxLBL"))) {
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

int RacersPage::SelectedRace() const { return list_->currentRow(); }

void RacersPage::LoadRace() { LoadEnemyData(); }

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
    window_->findChild<QWidget*>(QStringLiteral("EnemyFRA"))->setEnabled(true);
    window_->findChild<QTabWidget*>(QStringLiteral("tabs"))->setEnabled(true);
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
        rom_.WriteByte(RaceOffset(kRaceSettings[i].offset, race) + 1, static_cast<quint8>(position));
        unmovedPositions_[i] = position;
    }
}

void RacersPage::SaveMoney() {
    rom_.WriteWord(RaceOffset(kPrizeMoneyOffset, SelectedRace()) + 1,
                   static_cast<quint16>(money_->Value()));
}

} // namespace kst
