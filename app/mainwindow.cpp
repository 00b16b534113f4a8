#include "mainwindow.h"

#include "accessibility.h"
#include "accessibleinterfaces.h"
#include "allvalueswindow.h"
#include "core/backups.h"
#include "core/imagediff.h"
#include "core/messages.h"
#include "core/opencheck.h"
#include "emulatorcommands.h"
#include "fonts.h"
#include "patchcommands.h"
#include "racers/racerspage.h"
#include "romfile.h"
#include "shops/shopspage.h"
#include "spokenvalues.h"
#include "tabring.h"
#include "text/generaltext.h"
#include "ui_mainwindow.h"
#include "version.h"
#include "widgets/captionrefresh.h"
#include "widgets/fittingrows.h"
#include "widgets/listselection.h"
#include "widgets/widgets.h"
#include "writestep.h"

#include <QCloseEvent>
#include <QDialog>
#include <QDialogButtonBox>
#include <QIcon>
#include <QUndoView>
#include <QVBoxLayout>

namespace kst {

namespace {

// The commands and controls of the window that are enabled only while an image is open. The
// pages' frames follow their own rule (EditorPage::Show): at most one is ever on show, the
// selected tab's, so neither the eye nor the keyboard reaches an editor of another tab. The
// frames lie on top of each other and are transparent: any other would be drawn through the
// page on show. "Part Names (Not Coded)" has no page and shows an empty area.
constexpr const char* kImageControls[] = {
    "tabs",         "mnuSave",        "mnuClose",        "mnuRestore",
    "mnuCompare",   "mnuApplyPatch",  "mnuExportValues", "mnuImportValues",
    "mnuAllValues", "mnuRunEmulator", "mnuHistory",      "ApplyCMD"};

// The Undo and Redo items name their step in at most this many characters; the whole text is
// in their tooltip and status tip. A patch's step names every value it writes.
constexpr int kStepTextShown = 60;

// "&Undo Apply: Buzz Motor price 300 → 450", cut short with an ellipsis.
void NameStep(QAction* item, const QString& command, const QString& step) {
    const QString shown =
        step.size() > kStepTextShown ? step.left(kStepTextShown - 1) + QChar(0x2026) : step;
    item->setText(QLatin1Char('&') + command + QLatin1Char(' ') + shown);
    item->setToolTip(command + QLatin1Char(' ') + step);
    item->setStatusTip(item->toolTip());
}

} // namespace

MainWindow::MainWindow(Host& host, QWidget* parent)
    : QMainWindow(parent), ui_(std::make_unique<Ui::Main>()), control_(host, rom_) {
    InstallAccessibleInterfaces();
    ui_->setupUi(this);
    control_.SetWindow(this);
    refresh_ = new CaptionRefresh(this, control_);
    // The refresh ticks the captions in the order they are registered: the enemy racers' first,
    // then the shop prices.
    auto* racers = new RacersPage(ui_->EnemyFRA, values_, control_, *refresh_);
    auto* shops = new ShopsPage(ui_->ShopsFRA, values_, control_, *refresh_);
    pages_ = {{ui_->ShopsTab, shops},
              {ui_->EnemyRacersTab, racers},
              {ui_->GeneralTextTab, new GeneralTextPage(ui_->GeneralFRA, values_, control_)}};
    OrderTabRing(*ui_);
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
    patches_ = std::make_unique<PatchCommands>(
        this, rom_, values_, control_,
        [this](const ValueKind& kind, int index) { ShowValue(kind, index); });
    // A move in a list that would drop a typed value asks first, as Quit does.
    const auto settle = [this] {
        bool settled = false;
        control_.Handle([&] { settled = SettleUnapplied(); });
        return settled;
    };
    for (const TabPage& tab : pages_)
        tab.page->AskBeforeMoving(settle);
    emulator_ = std::make_unique<EmulatorCommands>(this, *ui_, control_, previousChoice_, [this] {
        if (!SettleUnapplied())
            return false;
        rom_.Flush();
        return true;
    });
    for (QListWidget* list : findChildren<QListWidget*>()) {
        KeepOneSelection(list);
        ShrinkRowsToFit(list);
    }
    ConnectCommands();
    ApplyAccessibleTexts(this);
    std::vector<EditorPage*> pages;
    for (const TabPage& tab : pages_)
        pages.push_back(tab.page);
    new SpokenValues(this, pages);
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
                     [this] { patches_->CompareWithOriginal(previousChoice_.Text()); });
    control_.Connect(ui_->mnuApplyPatch, &QAction::triggered, this, [this] { ApplyPatch(); });
    control_.Connect(ui_->mnuExportValues, &QAction::triggered, this,
                     [this] { patches_->ExportValueList(previousChoice_.Text()); });
    control_.Connect(ui_->mnuImportValues, &QAction::triggered, this, [this] {
        WriteImage(QStringLiteral("Import Values"), Settle::First, [this](const BackUp& backUp) {
            return patches_->ImportValueList([&] { return backUp({}); });
        });
    });
    control_.Connect(ui_->mnuAllValues, &QAction::triggered, this, [this] { ShowAllValues(); });
    control_.Connect(ui_->mnuUndo, &QAction::triggered, this, [this] { MoveInHistory(true); });
    control_.Connect(ui_->mnuRedo, &QAction::triggered, this, [this] { MoveInHistory(false); });
    control_.Connect(ui_->mnuHistory, &QAction::triggered, this, [this] { ShowHistory(); });
    // The items name the step they would take.
    ui_->mnuEdit->setToolTipsVisible(true);
    const auto showHistory = [this] {
        ui_->mnuUndo->setEnabled(history_.canUndo());
        NameStep(ui_->mnuUndo, QStringLiteral("Undo"), history_.undoText());
        ui_->mnuRedo->setEnabled(history_.canRedo());
        NameStep(ui_->mnuRedo, QStringLiteral("Redo"), history_.redoText());
    };
    connect(&history_, &QUndoStack::indexChanged, this, showHistory);
    connect(&history_, &QUndoStack::cleanChanged, this, showHistory);
    showHistory();
    control_.Connect(ui_->mnuQuit, &QAction::triggered, this, [this] { Quit(); });
    control_.Connect(ui_->QuitCMD, &QPushButton::clicked, this, [this] { Quit(); });
    control_.Connect(ui_->tabs, &QTabWidget::currentChanged, this, [this] { ShowWindowState(); });
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
    QStringList unapplied;
    for (const TabPage& tab : pages_)
        unapplied << tab.page->UnappliedValues();
    if (allValues_)
        unapplied << allValues_->UnappliedValues();
    if (unapplied.isEmpty())
        return true;
    enum { Apply, Discard, Cancel };
    const int answer = control_.Ask(
        UnappliedQuestion(unapplied),
        {QStringLiteral("&Apply"), QStringLiteral("&Discard"), QStringLiteral("Cancel")}, Apply,
        Cancel);
    if (answer == Cancel)
        return false;
    if (answer == Discard) {
        for (const TabPage& tab : pages_)
            tab.page->Reload();
        if (allValues_)
            allValues_->Revert();
        return true;
    }
    return WriteImage(QStringLiteral("Apply"), Settle::No, [this](const BackUp& backUp) {
        if (!backUp({}))
            return false;
        for (const TabPage& tab : pages_)
            tab.page->Save();
        if (allValues_)
            WriteTableEdits(allValues_->Edits());
        return true;
    });
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
        FileName file =
            control_.Desktop().ChooseFile(this, RomNameFilters(), PreselectedRomFilter());
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
        for (const TabPage& tab : pages_)
            tab.page->LoadFirst();
        if (allValues_)
            allValues_->Load(values_.ReadImage());
        imageOpen_ = true;
        ShowWindowState();
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
    patches_->CloseCompare();
    if (allValues_)
        allValues_->hide();
    rom_.Close();
    imageOpen_ = false;
    backedUp_ = false;
    history_.clear();
    ShowWindowState();
}

EditorPage* MainWindow::SelectedPage() const {
    for (const TabPage& tab : pages_)
        if (tab.tab == ui_->tabs->currentWidget())
            return tab.page;
    return nullptr;
}

void MainWindow::ShowWindowState() {
    for (const char* name : kImageControls) {
        // Widgets and menu items alike have this property.
        Child<QObject>(this, name)->setProperty("enabled", imageOpen_);
    }
    for (const TabPage& tab : pages_)
        tab.page->Show(imageOpen_, tab.tab == ui_->tabs->currentWidget());
}

void MainWindow::ApplyEdits(const QString& command) {
    EditorPage* page = SelectedPage();
    if (!page || page->UnappliedValues().isEmpty())
        return;
    WriteImage(command, Settle::No, [page](const BackUp& backUp) {
        if (!backUp({}))
            return false;
        page->Save();
        return true;
    });
}

bool MainWindow::WriteImage(const QString& command, Settle settle,
                            const std::function<bool(const BackUp& backUp)>& write) {
    if (settle == Settle::First && !SettleUnapplied())
        return false;
    if (!write([this](const QString& keep) { return BackUpBeforeWrite(keep); }))
        return false;
    rom_.Flush();
    // What one write did ends here; the next starts a record of its own.
    WriteRecord record = values_.TakeRecord();
    if (!record.empty())
        history_.push(new WriteStep(values_, stepOutcome_, command, std::move(record)));
    ReloadPages();
    patches_->ImageChanged();
    return true;
}

bool MainWindow::BackUpBeforeWrite(const QString& keep) {
    if (backedUp_)
        return true;
    QString reason;
    const QString made = Backups().Make(previousChoice_, values_.ReadImage(),
                                        control_.Desktop().Now(), &reason, keep);
    if (!made.isEmpty())
        return backedUp_ = true;
    enum { WriteAnyway, DontWrite };
    return control_.Ask(NoBackupQuestion(reason),
                        {QStringLiteral("&Write Anyway"), QStringLiteral("Do&n't Write")},
                        DontWrite, DontWrite) == WriteAnyway;
}

void MainWindow::MoveInHistory(bool back) {
    // An Apply here is the newest step, which Undo then takes back and after which Redo has
    // nothing left to redo.
    if (!SettleUnapplied() || (back ? !history_.canUndo() : !history_.canRedo()))
        return;
    if (back)
        history_.undo();
    else
        history_.redo();
    AfterSteps();
}

void MainWindow::AfterSteps() {
    const StepOutcome outcome = std::exchange(stepOutcome_, {});
    if (outcome.failure)
        throw *outcome.failure;
    rom_.Flush();
    QStringList leftAlone = outcome.leftAlone;
    leftAlone.removeDuplicates();
    if (!leftAlone.isEmpty())
        control_.Desktop().ShowMessage(this, ChangedMeanwhileMessage(leftAlone));
    ReloadPages();
    patches_->ImageChanged();
}

void MainWindow::ShowHistory() {
    if (!SettleUnapplied())
        return;
    QDialog dialog(this);
    dialog.setObjectName(QStringLiteral("HistoryDLG"));
    dialog.setWindowTitle(QStringLiteral("History"));
    auto* steps = new QUndoView(&history_, &dialog);
    steps->setObjectName(QStringLiteral("HistoryLST"));
    steps->setEmptyLabel(QStringLiteral("The image as opened"));
    steps->setAccessibleName(QStringLiteral("History"));
    steps->setAccessibleDescription(
        QStringLiteral("Choosing a step undoes or redoes every step up to it"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &dialog);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(steps);
    layout->addWidget(buttons);
    dialog.resize(560, 360);
    // The view moves through the history itself, any number of steps at once; each move then
    // gets what Undo and Redo do after their step.
    control_.Connect(&history_, &QUndoStack::indexChanged, &dialog, [this] { AfterSteps(); });
    control_.Desktop().RunDialog(dialog);
}

void MainWindow::ShowValue(const ValueKind& kind, int index) {
    for (const TabPage& tab : pages_)
        for (const ValueControls& controls : tab.page->Controls()) {
            if (controls.kind != &kind)
                continue;
            ui_->tabs->setCurrentWidget(tab.tab);
            controls.list->setCurrentRow(index);
            raise();
            activateWindow();
            controls.editor->setFocus(Qt::OtherFocusReason);
            return;
        }
}

void MainWindow::ReloadPages() {
    for (const TabPage& tab : pages_)
        if (tab.page->UnappliedValues().isEmpty())
            tab.page->Reload();
    if (allValues_)
        allValues_->Load(values_.ReadImage());
    refresh_->Tick();
}

void MainWindow::ShowAllValues() {
    if (!allValues_) {
        allValues_ = new AllValuesWindow(this, control_, [this](const std::vector<Value>& edits) {
            WriteImage(QStringLiteral("Apply"), Settle::No, [&](const BackUp& backUp) {
                if (!backUp({}))
                    return false;
                WriteTableEdits(edits);
                return true;
            });
        });
        allValues_->Load(values_.ReadImage());
    }
    allValues_->show();
    allValues_->raise();
    allValues_->activateWindow();
}

void MainWindow::WriteTableEdits(const std::vector<Value>& edits) {
    for (const Value& value : edits)
        values_.Write(*value.kind, value.index, value.number);
}

void MainWindow::RestoreBackup() {
    WriteImage(QStringLiteral("Restore"), Settle::First, [this](const BackUp& backUp) {
        const QByteArray now = values_.ReadImage();
        const std::vector<StoredBackup> backups = Backups().Of(previousChoice_);
        QList<BackupChoice> choices;
        for (const StoredBackup& backup : backups)
            choices << ChoiceFor(backup, now);
        const int chosen = control_.Desktop().ChooseBackup(this, choices);
        if (chosen < 0 || !backups[chosen].damage.isEmpty())
            return false;
        const QByteArray& restored = backups[chosen].image;
        if (DiffImages(now, restored).Empty() || !backUp(backups[chosen].path))
            return false;
        // The image as it is after the backup and any question, not as it was listed.
        WriteDifferences(values_, values_.ReadImage(), restored);
        return true;
    });
}

void MainWindow::ApplyPatch() {
    WriteImage(QStringLiteral("Apply Patch"), Settle::First, [this](const BackUp& backUp) {
        return patches_->ApplyPatchFile([&] { return backUp({}); });
    });
}

} // namespace kst
