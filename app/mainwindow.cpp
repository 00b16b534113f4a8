#include "mainwindow.h"

#include "accessibility.h"
#include "accessibleinterfaces.h"
#include "fonts.h"
#include "messages.h"
#include "racers/racerspage.h"
#include "romfile.h"
#include "shops/captionrefresh.h"
#include "shops/shopspage.h"
#include "spokenvalues.h"
#include "text/generaltext.h"
#include "ui_mainwindow.h"
#include "version.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QIcon>

namespace kst {

namespace {

constexpr quint16 kIdentificationWord = 0x404C;

} // namespace

MainWindow::MainWindow(Host& host, QWidget* parent)
    : QMainWindow(parent), ui_(std::make_unique<Ui::Main>()), control_(host, rom_) {
    InstallAccessibleInterfaces();
    ui_->setupUi(this);
    control_.SetWindow(this);
    ApplyWindowFonts(this);
    setWindowIcon(QIcon(QStringLiteral(":/icons/kestrune-toolbox-16.png")));
    const QList<QAction*> menu = ui_->mnuFile->actions();
    menu.at(2)->setObjectName(QStringLiteral("mnuSep1"));
    menu.at(4)->setObjectName(QStringLiteral("mnuSep2"));
    for (QLabel* label : findChildren<QLabel*>())
        if (label->property("autoSize").toBool())
            label->adjustSize();

    refresh_ = new CaptionRefresh(this, control_);
    racers_ = new RacersPage(this, rom_, control_, *refresh_);
    shops_ = new ShopsPage(this, rom_, control_);
    text_ = new GeneralTextPage(this, rom_, control_);
    ConnectCommands();
    ApplyAccessibleTexts(this);
    new SpokenValues(this);
    // The client area is fixed at 666 x 391 pixels; the menu bar sits above it.
    ui_->centralwidget->setFixedSize(666, 391);
    setFixedSize(sizeHint());
}

MainWindow::~MainWindow() = default;

template <typename Sender, typename Signal, typename Handler>
void MainWindow::On(Sender* sender, Signal signal, Handler handler) {
    connect(sender, signal, this,
            [this, handler] { control_.Handle([&] { (this->*handler)(); }); });
}

void MainWindow::ConnectCommands() {
    On(ui_->mnuOpen, &QAction::triggered, &MainWindow::LoadROM);
    On(ui_->OpenCMD, &QPushButton::clicked, &MainWindow::LoadROM);
    On(ui_->mnuClose, &QAction::triggered, &MainWindow::CloseROM);
    On(ui_->mnuSave, &QAction::triggered, &MainWindow::ApplyEdits);
    On(ui_->ApplyCMD, &QPushButton::clicked, &MainWindow::ApplyEdits);
    On(ui_->mnuQuit, &QAction::triggered, &MainWindow::Quit);
    On(ui_->QuitCMD, &QPushButton::clicked, &MainWindow::Quit);
    On(ui_->tabs, &QTabWidget::currentChanged, &MainWindow::SelectTab);
}

void MainWindow::Start() {
    control_.Handle([this] {
        setWindowTitle(VersionCaption(kVersionMajor, kVersionRevision));
        LoadROM();
    });
}

void MainWindow::Quit() {
    control_.Quit();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    control_.Handle([this] { Quit(); });
    event->accept();
}

void MainWindow::LoadROM() {
    try {
        CloseROM();
        setWindowTitle(VersionCaption(kVersionMajor, kVersionRevision));
        QString file = control_.host().ChooseFile(this, RomNameFilters(), PreselectedRomFilter());
        if (file.isEmpty())
            file = previousChoice_;
        if (file.isEmpty() || !rom_.Open(file))
            control_.Fail(kNoRomMessage);
        previousChoice_ = file;
        LoadROMFileSize(file);
        CheckVersion();
        control_.RequireDataFile(control_.DataFilePath());
        racers_->SelectFirstRace();
        shops_->SelectFirstParts();
        ui_->ShopsFRA->setEnabled(true);
        ui_->ShopsFRA->setVisible(true);
        ui_->mnuClose->setEnabled(true);
        ui_->mnuSave->setEnabled(true);
        ui_->ApplyCMD->setEnabled(true);
        text_->LoadGeneralText();
        RevealSelectedPage();
    } catch (const RomAccessError&) {
        control_.Fail(kNoRomMessage);
    }
}

void MainWindow::RevealSelectedPage() {
    // Opening shows the shop page whatever tab is selected, and closing hid the enemy page.
    // The frames lie on top of each other, the enemy page over the shop page and the text page
    // over both, so the selected tab's page is brought back, and the empty page stays empty.
    // Otherwise the shop editors would show under another tab, whose Apply does not save them.
    const QString tag = SelectedTabTag();
    if (tag == QLatin1String("enemyracers"))
        ui_->EnemyFRA->setVisible(true);
    else if (tag == QLatin1String("partnames"))
        ui_->ShopsFRA->setVisible(false);
}

void MainWindow::CloseROM() {
    rom_.Close();
    ui_->tabs->setEnabled(false);
    ui_->mnuSave->setEnabled(false);
    ui_->mnuClose->setEnabled(false);
    ui_->EnemyFRA->setEnabled(false);
    ui_->EnemyFRA->setVisible(false);
    ui_->ShopsFRA->setEnabled(false);
    ui_->ShopsFRA->setVisible(false);
    ui_->ApplyCMD->setEnabled(false);
}

void MainWindow::LoadROMFileSize(const QString& file) {
    if (QFileInfo(file).size() != RomImage::kSize)
        control_.Fail(kWrongSizeMessage);
}

void MainWindow::CheckVersion() {
    if (rom_.ReadWord(1) != kIdentificationWord)
        control_.Fail(kWrongRegionMessage);
}

QString MainWindow::SelectedTabTag() const {
    return ui_->tabs->currentWidget()->property("tag").toString();
}

void MainWindow::SelectTab() {
    const QString tag = SelectedTabTag();
    struct Shown {
        const char* tag;
        bool shops, enemy, general;
    };
    static constexpr Shown kFramesByTag[] = {{"shops", true, false, false},
                                             {"enemyracers", false, true, false},
                                             {"generaltext", false, false, true},
                                             {"partnames", false, false, false}};
    for (const Shown& shown : kFramesByTag) {
        if (tag != QLatin1String(shown.tag))
            continue;
        ui_->ShopsFRA->setVisible(shown.shops);
        ui_->EnemyFRA->setVisible(shown.enemy);
        ui_->GeneralFRA->setVisible(shown.general);
        return;
    }
}

void MainWindow::ApplyEdits() {
    const QString tag = SelectedTabTag();
    if (tag == QLatin1String("shops")) {
        shops_->SaveShops();
    } else if (tag == QLatin1String("enemyracers")) {
        racers_->SaveEnemyData();
        racers_->SaveMoney();
    } else {
        return;
    }
    rom_.Flush();
}

} // namespace kst
