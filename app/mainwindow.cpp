#include "mainwindow.h"

#include "accessibility.h"
#include "accessibleinterfaces.h"
#include "core/messages.h"
#include "core/opencheck.h"
#include "fonts.h"
#include "patchcommands.h"
#include "racers/racerspage.h"
#include "romfile.h"
#include "shops/shopspage.h"
#include "spokenvalues.h"
#include "text/generaltext.h"
#include "ui_mainwindow.h"
#include "version.h"
#include "widgets/captionrefresh.h"
#include "widgets/listselection.h"
#include "widgets/widgets.h"

#include <QCloseEvent>
#include <QIcon>

namespace kst {

namespace {

// Which controls the window enables and shows. A control that needs an image is enabled only
// while one is open; a frame is shown only while its tab is selected, and one that needs an
// image only while one is open. So at most one frame is ever on show, the selected tab's, and
// neither the eye nor the keyboard reaches an editor of another tab. The frames lie on top of
// each other and are transparent: any other would be drawn through the page on show. "Part
// Names (Not Coded)" has no frame and shows an empty area.
struct ControlState {
    const char* control;
    bool needsImage;
    const char* shownOnTab; // null: never hidden
};

constexpr ControlState kControlStates[] = {
    {"tabs", true, nullptr},
    {"mnuSave", true, nullptr},
    {"mnuCompare", true, nullptr},
    {"mnuApplyPatch", true, nullptr},
    {"mnuClose", true, nullptr},
    {"ApplyCMD", true, nullptr},
    {"ShopsFRA", true, "shops"},
    {"EnemyFRA", true, "enemyracers"},
    {"GeneralFRA", false, "generaltext"},
};

} // namespace

MainWindow::MainWindow(Host& host, QWidget* parent)
    : QMainWindow(parent), ui_(std::make_unique<Ui::Main>()), control_(host, rom_) {
    InstallAccessibleInterfaces();
    ui_->setupUi(this);
    control_.SetWindow(this);
    ApplyWindowFonts(this);
    setWindowIcon(QIcon(QStringLiteral(":/icons/kestrune-toolbox-16.png")));
    // The separators are named in their order: mnuSep1 above Close, mnuSep2 above Quit.
    int separators = 0;
    for (QAction* action : ui_->mnuFile->actions())
        if (action->isSeparator())
            action->setObjectName(QStringLiteral("mnuSep%1").arg(++separators));
    for (QLabel* label : findChildren<QLabel*>())
        if (label->property("autoSize").toBool())
            label->adjustSize();

    refresh_ = new CaptionRefresh(this, control_);
    // The refresh ticks the captions in the order they are registered: the enemy racers' first,
    // then the shop prices.
    racers_ = new RacersPage(this, values_, control_, *refresh_);
    shops_ = new ShopsPage(this, values_, control_, *refresh_);
    text_ = new GeneralTextPage(this, values_, control_);
    patches_ = std::make_unique<PatchCommands>(this, values_, control_);
    for (QListWidget* list : findChildren<QListWidget*>())
        KeepOneSelection(list);
    ConnectCommands();
    ApplyAccessibleTexts(this);
    new SpokenValues(this);
    // The client area is fixed at 666 x 391 pixels; the menu bar sits above it.
    ui_->centralwidget->setFixedSize(666, 391);
    setFixedSize(sizeHint());
}

MainWindow::~MainWindow() = default;

void MainWindow::ConnectCommands() {
    control_.Connect(ui_->mnuOpen, &QAction::triggered, this, [this] { LoadROM(); });
    control_.Connect(ui_->OpenCMD, &QPushButton::clicked, this, [this] { LoadROM(); });
    control_.Connect(ui_->mnuClose, &QAction::triggered, this, [this] { CloseROM(); });
    control_.Connect(ui_->mnuSave, &QAction::triggered, this, [this] { ApplyEdits(); });
    control_.Connect(ui_->ApplyCMD, &QPushButton::clicked, this, [this] { ApplyEdits(); });
    control_.Connect(ui_->mnuCompare, &QAction::triggered, this,
                     [this] { patches_->CompareWithOriginal(); });
    control_.Connect(ui_->mnuApplyPatch, &QAction::triggered, this, [this] { ApplyPatch(); });
    control_.Connect(ui_->mnuQuit, &QAction::triggered, this, [this] { Quit(); });
    control_.Connect(ui_->QuitCMD, &QPushButton::clicked, this, [this] { Quit(); });
    control_.Connect(ui_->tabs, &QTabWidget::currentChanged, this, [this] { ShowWindowState(); });
    // Loading a race is what starts the caption refresh.
    control_.Connect(racers_, &RacersPage::RaceLoaded, this, [this] { refresh_->Enable(); });
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
        if (file.isEmpty())
            control_.Fail(kNoRomMessage);
        const OpenOutcome outcome = OpenChecked(rom_, file, control_.DataFilePath());
        if (outcome != OpenOutcome::Opened)
            control_.Fail(MessageFor(outcome));
        previousChoice_ = file;
        racers_->SelectFirstRace();
        shops_->SelectFirstParts();
        imageOpen_ = true;
        ShowWindowState();
        text_->LoadGeneralText();
        // The window is first shown before the first tick; without this it would show the
        // layout's captions for a moment instead of the loaded values.
        refresh_->Tick();
    } catch (const RomAccessError&) {
        control_.Fail(kNoRomMessage);
    }
}

void MainWindow::CloseROM() {
    rom_.Close();
    imageOpen_ = false;
    ShowWindowState();
}

QString MainWindow::SelectedTabTag() const {
    return ui_->tabs->currentWidget()->property("tag").toString();
}

void MainWindow::ShowWindowState() {
    const QString tab = SelectedTabTag();
    for (const ControlState& state : kControlStates) {
        // Widgets and menu items alike have these two properties.
        QObject* control = Child<QObject>(this, state.control);
        const bool enabled = imageOpen_ || !state.needsImage;
        control->setProperty("enabled", enabled);
        if (state.shownOnTab)
            control->setProperty("visible", enabled && tab == QLatin1String(state.shownOnTab));
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
    FinishWrite();
}

void MainWindow::ApplyPatch() {
    if (!patches_->ApplyPatchFile())
        return;
    FinishWrite();
    ReloadPages();
}

void MainWindow::FinishWrite() {
    rom_.Flush();
    // What one Apply or patch wrote ends here; the next starts a record of its own.
    values_.TakeRecord();
}

void MainWindow::ReloadPages() {
    racers_->ReloadRace();
    shops_->ReloadParts();
    text_->LoadGeneralText();
    refresh_->Tick();
}

} // namespace kst
