#include "mainwindow.h"

#include "accessibility.h"
#include "accessibleinterfaces.h"
#include "core/backups.h"
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
#include "widgets/fittingrows.h"
#include "widgets/listselection.h"
#include "widgets/widgets.h"
#include "writestep.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
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
    {"tabs", true, nullptr},           {"mnuSave", true, nullptr},
    {"mnuClose", true, nullptr},       {"mnuRestore", true, nullptr},
    {"mnuCompare", true, nullptr},     {"mnuApplyPatch", true, nullptr},
    {"ApplyCMD", true, nullptr},       {"ShopsFRA", true, "shops"},
    {"EnemyFRA", true, "enemyracers"}, {"GeneralFRA", false, "generaltext"},
};

} // namespace

MainWindow::MainWindow(Host& host, QWidget* parent)
    : QMainWindow(parent), ui_(std::make_unique<Ui::Main>()), control_(host, rom_) {
    InstallAccessibleInterfaces();
    ui_->setupUi(this);
    control_.SetWindow(this);
    ApplyWindowFonts(this);
    setWindowIcon(QIcon(QStringLiteral(":/icons/kestrune-toolbox-16.png")));
    // The separators are named in their order, wherever other items put them.
    int separators = 0;
    for (QAction* item : ui_->mnuFile->actions())
        if (item->isSeparator())
            item->setObjectName(QStringLiteral("mnuSep%1").arg(++separators));
    for (QLabel* label : findChildren<QLabel*>())
        if (label->property("autoSize").toBool())
            label->adjustSize();

    refresh_ = new CaptionRefresh(this, control_);
    // The refresh ticks the captions in the order they are registered: the enemy racers' first,
    // then the shop prices.
    racers_ = new RacersPage(this, values_, control_, *refresh_);
    shops_ = new ShopsPage(this, values_, control_, *refresh_);
    text_ = new GeneralTextPage(this, values_, control_);
    patches_ = std::make_unique<PatchCommands>(this, rom_, values_, control_);
    // A move in a list that would drop a typed value asks first, as Quit does.
    const auto settle = [this] {
        bool settled = false;
        control_.Handle([&] { settled = SettleUnapplied(); });
        return settled;
    };
    shops_->AskBeforeMoving(settle);
    racers_->AskBeforeMoving(settle);
    for (QListWidget* list : findChildren<QListWidget*>()) {
        KeepOneSelection(list);
        ShrinkRowsToFit(list);
    }
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
    control_.Connect(ui_->mnuClose, &QAction::triggered, this, [this] { CloseCommand(); });
    control_.Connect(ui_->mnuSave, &QAction::triggered, this,
                     [this] { ApplyEdits(QStringLiteral("Save")); });
    control_.Connect(ui_->ApplyCMD, &QPushButton::clicked, this,
                     [this] { ApplyEdits(QStringLiteral("Apply")); });
    control_.Connect(ui_->mnuRestore, &QAction::triggered, this, [this] { RestoreBackup(); });
    control_.Connect(ui_->mnuCompare, &QAction::triggered, this,
                     [this] { patches_->CompareWithOriginal(); });
    control_.Connect(ui_->mnuApplyPatch, &QAction::triggered, this, [this] { ApplyPatch(); });
    control_.Connect(ui_->mnuUndo, &QAction::triggered, this, [this] { MoveInHistory(true); });
    control_.Connect(ui_->mnuRedo, &QAction::triggered, this, [this] { MoveInHistory(false); });
    // The items name the step they would take.
    const auto showHistory = [this] {
        ui_->mnuUndo->setEnabled(history_.canUndo());
        ui_->mnuUndo->setText(QStringLiteral("&Undo ") + history_.undoText());
        ui_->mnuRedo->setEnabled(history_.canRedo());
        ui_->mnuRedo->setText(QStringLiteral("&Redo ") + history_.redoText());
    };
    connect(&history_, &QUndoStack::indexChanged, this, showHistory);
    connect(&history_, &QUndoStack::cleanChanged, this, showHistory);
    showHistory();
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
    if (SettleUnapplied())
        control_.Quit();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    control_.Handle([this] { Quit(); });
    // A cancelled question keeps the window open.
    event->setAccepted(control_.Ended());
}

bool MainWindow::SettleUnapplied() {
    if (!imageOpen_)
        return true;
    const QStringList unapplied = shops_->UnappliedValues() + racers_->UnappliedValues();
    if (unapplied.isEmpty())
        return true;
    enum { Apply, Discard, Cancel };
    const int answer = control_.Ask(
        UnappliedQuestion(unapplied),
        {QStringLiteral("&Apply"), QStringLiteral("&Discard"), QStringLiteral("Cancel")}, Apply,
        Cancel);
    if (answer == Cancel)
        return false;
    if (answer == Discard)
        return true;
    if (!BackUpBeforeWrite())
        return false;
    shops_->SaveShops();
    racers_->SaveEnemyData();
    racers_->SaveMoney();
    FinishWrite(QStringLiteral("Apply"));
    return true;
}

void MainWindow::LoadROM() {
    try {
        if (!SettleUnapplied())
            return;
        // The window shows no image while the dialog is up, but the image and its history are
        // given up only for another choice: a cancel keeps the image open while its name still
        // stands for it, and otherwise opens the last choice again.
        imageOpen_ = false;
        ShowWindowState();
        setWindowTitle(VersionCaption(kVersionMajor, kVersionRevision));
        FileName file = control_.host().ChooseFile(this, RomNameFilters(), PreselectedRomFilter());
        if (!file.IsEmpty() || !rom_.StillChosen()) {
            CloseROM();
            if (file.IsEmpty())
                file = previousChoice_;
            if (file.IsEmpty())
                control_.Fail(kNoRomMessage);
            const OpenOutcome outcome = OpenChecked(rom_, file, control_.DataFilePath());
            if (outcome != OpenOutcome::Opened)
                control_.Fail(MessageFor(outcome, file, rom_.Identity().size));
            previousChoice_ = file;
        }
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

void MainWindow::CloseCommand() {
    if (SettleUnapplied())
        CloseROM();
}

void MainWindow::CloseROM() {
    rom_.Close();
    imageOpen_ = false;
    backedUp_ = false;
    history_.clear();
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

void MainWindow::ApplyEdits(const QString& command) {
    const QString tag = SelectedTabTag();
    const bool shops = tag == QLatin1String("shops");
    const bool racers = tag == QLatin1String("enemyracers");
    const QStringList unapplied = shops    ? shops_->UnappliedValues()
                                  : racers ? racers_->UnappliedValues()
                                           : QStringList();
    if (unapplied.isEmpty() || !BackUpBeforeWrite())
        return;
    if (shops) {
        shops_->SaveShops();
    } else {
        racers_->SaveEnemyData();
        racers_->SaveMoney();
    }
    FinishWrite(command);
}

QString MainWindow::ImageName() const {
    return QFileInfo(previousChoice_.Text()).fileName();
}

bool MainWindow::BackUpBeforeWrite() {
    if (backedUp_)
        return true;
    QString reason;
    const QString made =
        Backups().Make(ImageName(), values_.ReadImage(), QDateTime::currentDateTime(), &reason);
    if (!made.isEmpty())
        return backedUp_ = true;
    enum { WriteAnyway, DontWrite };
    return control_.Ask(NoBackupQuestion(reason),
                        {QStringLiteral("&Write Anyway"), QStringLiteral("Do&n't Write")},
                        DontWrite, DontWrite) == WriteAnyway;
}

void MainWindow::FinishWrite(const QString& command) {
    rom_.Flush();
    // What one write did ends here; the next starts a record of its own.
    WriteRecord record = values_.TakeRecord();
    if (!record.empty())
        history_.push(new WriteStep(values_, command, std::move(record)));
}

void MainWindow::MoveInHistory(bool back) {
    // An Apply here is the newest step, which Undo then takes back and after which Redo has
    // nothing left to redo.
    if (!SettleUnapplied() || (back ? !history_.canUndo() : !history_.canRedo()))
        return;
    auto* step = static_cast<WriteStep*>(
        const_cast<QUndoCommand*>(history_.command(history_.index() - (back ? 1 : 0))));
    back ? history_.undo() : history_.redo();
    step->RaiseFailure();
    rom_.Flush();
    if (!step->LeftAlone().isEmpty())
        control_.host().ShowMessage(this, ChangedMeanwhileMessage(step->LeftAlone()));
    ReloadPages();
}

void MainWindow::ReloadPages() {
    racers_->ReloadRace();
    shops_->ReloadParts();
    text_->LoadGeneralText();
    refresh_->Tick();
}

void MainWindow::RestoreBackup() {
    if (!SettleUnapplied())
        return;
    const QByteArray now = values_.ReadImage();
    QList<QByteArray> images;
    QList<BackupChoice> choices;
    for (const QString& path : Backups().Of(ImageName())) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly) || file.size() != RomImage::kSize)
            continue;
        images << file.readAll();
        BackupChoice choice{Backups::TakenAt(ImageName(), path).toString(Qt::TextDate), {}};
        for (const Value& value : ValuesDiffering(images.back(), now))
            choice.differences << QStringLiteral("%1: %2 now, %3 in the backup")
                                      .arg(EntryLabel(*value.kind, value.index))
                                      .arg(ValueIn(now, *value.kind, value.index))
                                      .arg(value.number);
        choices << choice;
    }
    const int chosen = control_.host().ChooseBackup(this, choices);
    if (chosen < 0)
        return;
    const std::vector<Value> restored = ValuesDiffering(images[chosen], now);
    if (restored.empty() || !BackUpBeforeWrite())
        return;
    for (const Value& value : restored)
        values_.Write(*value.kind, value.index, value.number);
    FinishWrite(QStringLiteral("Restore"));
    ReloadPages();
}

void MainWindow::ApplyPatch() {
    if (!SettleUnapplied() || !patches_->ApplyPatchFile([this] { return BackUpBeforeWrite(); }))
        return;
    FinishWrite(QStringLiteral("Apply Patch"));
    ReloadPages();
}

} // namespace kst
