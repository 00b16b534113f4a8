#include "racerspage.h"

#include "core/captions.h"
#include "core/roster.h"
#include "core/tracknames.h"
#include "core/valuemodel.h"
#include "picturebox.h"
#include "ui_racerspage.h"
#include "widgets/captionrefresh.h"
#include "widgets/listselection.h"
#include "widgets/numberbox.h"
#include "widgets/programcontrol.h"

namespace kst {

namespace {

// The controls of each value of a race in the page's form: a box for the prize money, and a
// slider with its arrow-key and page steps for each setting of the enemy racers.
struct BoxBinding {
    const char* kind;
    QLineEdit* Ui_RacersPage::*box;
    QLabel* Ui_RacersPage::*caption;
};

struct SliderBinding {
    const char* kind;
    QSlider* Ui_RacersPage::*slider;
    QLabel* Ui_RacersPage::*caption;
    int singleStep;
    int pageStep;
};

constexpr BoxBinding kMoney = {"race.prize", &Ui_RacersPage::EnemyCashTXT,
                               &Ui_RacersPage::MoneyxLBL};

constexpr SliderBinding kSliders[] = {
    {"race.ai", &Ui_RacersPage::AISLDR, &Ui_RacersPage::AILBL, 1, 3},
    {"race.grip", &Ui_RacersPage::TireSLDR, &Ui_RacersPage::TiresLBL, 1, 3},
    {"race.turbo", &Ui_RacersPage::TurboSLDR, &Ui_RacersPage::TurboLBL, 1, 10},
};

} // namespace

RacersPage::RacersPage(QGroupBox* frame, ImageValues& values, ProgramControl& control,
                       CaptionRefresh& refresh)
    : EditorPage(frame), ui_(std::make_unique<Ui::RacersPage>()), values_(values),
      refresh_(refresh) {
    ui_->setupUi(frame);
    enemy1Portrait_ = new PictureBox(ui_->Enemy1IMG, pictures_.EnemiesIMG);
    enemy2Portrait_ = new PictureBox(ui_->Enemy2IMG, pictures_.EnemiesIMG);
    track1_ = new PictureBox(ui_->EnemyTrack1IMG, pictures_.TrackIMG);
    track2_ = new PictureBox(ui_->EnemyTrack2IMG, pictures_.TrackIMG);
    for (int race = 1; race <= kRaceCount; ++race)
        ui_->EnemyLST->addItem(QStringLiteral("Index %1").arg(race));
    // The refresh ticks the settings' captions first, then the prize money's.
    for (const ValueKind& kind : kValueKinds) {
        if (kind.page != Page::Racers)
            continue;
        if (qstrcmp(kind.name, kMoney.kind) == 0) {
            moneyKind_ = &kind;
            money_ = new NumberBox(ui_.get()->*kMoney.box, kind.maximum, control);
            moneyCaption_ = ui_.get()->*kMoney.caption;
            controls_.push_back({&kind, ui_->EnemyLST, money_->Box(), moneyCaption_});
            continue;
        }
        const SliderBinding& binding = BindingOf(kSliders, kind.name);
        QAbstractSlider* slider = ui_.get()->*binding.slider;
        slider->setRange(0, kind.maximum);
        slider->setSingleStep(binding.singleStep);
        slider->setPageStep(binding.pageStep);
        QLabel* caption = ui_.get()->*binding.caption;
        refresh.Add(slider, caption, kind.format);
        settings_.push_back({&kind, slider, {}});
        controls_.push_back({&kind, ui_->EnemyLST, slider, caption});
        // Every move but a load's is the user's, by mouse, keyboard or assistive technology.
        const std::size_t setting = settings_.size() - 1;
        control.Connect(slider, &QAbstractSlider::valueChanged, this, [this, setting] {
            if (!loading_)
                settings_[setting].loaded.Touch();
        });
    }
    refresh.Add(money_, moneyCaption_, moneyKind_->format);
    control.Connect(ui_->EnemyLST, &QListWidget::currentRowChanged, this, [this] { LoadRace(); });
}

RacersPage::~RacersPage() = default;

void RacersPage::SelectFirstRace() {
    SelectRow(ui_->EnemyLST, 0, [this] { LoadRace(); });
}

void RacersPage::ReloadRace() {
    SelectRow(ui_->EnemyLST, SelectedRace(), [this] { LoadRace(); });
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
    kst::AskBeforeMoving(ui_->EnemyLST,
                         [this, settle] { return UnappliedValues().isEmpty() || settle(); });
}

int RacersPage::SelectedRace() const {
    return ui_->EnemyLST->currentRow();
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
    refresh_.Enable();
}

void RacersPage::LoadMoney() {
    const int money = values_.Read(*moneyKind_, SelectedRace());
    money_->SetValue(money);
    moneyCaption_->setText(CaptionText(moneyKind_->format, money));
}

void RacersPage::Save() {
    SaveEnemyData();
    SaveMoney();
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
    ui_->Enemy1LBL->setText(QString());
    ui_->Enemy2IMG->hide();
    ui_->Enemy2LBL->setText(QString());
    ui_->Enemy2LBL->hide();
    const RaceRacers& racers = kRoster[SelectedRace()];
    ShowPortrait(*enemy1Portrait_, racers.first);
    if (racers.second.portrait)
        ShowPortrait(*enemy2Portrait_, racers.second);
    ui_->Enemy1LBL->setText(QString::fromUtf8(racers.first.name));
    // The first name widens to fit; the second keeps its fixed size.
    ui_->Enemy1LBL->adjustSize();
    // A label without text would be named after its frame's title by assistive technology,
    // so the hidden second name says that there is none; a shown one is named by its text.
    ui_->Enemy2LBL->setAccessibleName(racers.second.portrait ? QString()
                                                             : QStringLiteral("No second racer"));
    if (racers.second.portrait) {
        ui_->Enemy2IMG->show();
        ui_->Enemy2LBL->setText(QString::fromUtf8(racers.second.name));
        ui_->Enemy2LBL->show();
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
    ui_->EnemyTrack1IMG->hide();
    ui_->EnemyTrack2IMG->hide();
    const RaceTracks& tracks = kTracks[SelectedRace()];
    if (!tracks.first)
        return;
    ShowTrack(*track1_, tracks.first);
    if (tracks.second)
        ShowTrack(*track2_, tracks.second);
    ui_->EnemyTrack1IMG->show();
    if (tracks.second)
        ui_->EnemyTrack2IMG->show();
}

} // namespace kst
