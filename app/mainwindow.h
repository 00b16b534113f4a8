#pragma once

#include "core/romimage.h"
#include "core/valuemodel.h"
#include "widgets/programcontrol.h"
#include "writestep.h"

#include <QMainWindow>
#include <QString>
#include <QUndoStack>
#include <functional>
#include <memory>
#include <vector>

namespace Ui {
class Main;
}

namespace kst {

class AllValuesWindow;
class CaptionRefresh;
class EditorPage;
class EmulatorCommands;
class PatchCommands;

// The editor's one window: ROM opening and closing, the tab strip, and Apply and Save.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit MainWindow(Host& host, QWidget* parent = nullptr);
    ~MainWindow() override;

    // What the window does when it loads, before it is first shown: the caption, then the
    // choice of a ROM image. Afterwards Ended() tells whether the program has ended instead.
    void Start();
    bool Ended() const { return control_.Ended(); }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void ConnectCommands();
    void LoadROM();
    // The Close command: closes the image once unapplied edits are settled.
    void CloseCommand();
    void CloseROM();
    // Ends the program once unapplied edits are settled.
    void Quit();
    // Asks what to do with the edits on the pages that have not been written, if any, and
    // writes them if asked to. Returns false when the user cancelled or nothing could be
    // written, and the command that asked must do nothing.
    bool SettleUnapplied();
    // Enables and shows the frames and commands as the open image and the selected tab ask.
    void ShowWindowState();
    // Apply and Save: writes the selected page's changed values; command names the step.
    void ApplyEdits(const QString& command);
    // The backup a write calls before its first byte; keep names a backup to spare.
    using BackUp = std::function<bool(const QString& keep)>;
    // Every write into the image goes through here. First, if settle is set, the values typed
    // but not applied are settled. Then write runs, handed the backup to call before its first
    // byte; it returns false when it wrote nothing. What it wrote is flushed, kept as one
    // step of the history named command, and shown: the pages without unapplied values and
    // the compare window read the image again. Returns whether write went ahead.
    enum class Settle { First, No };
    bool WriteImage(const QString& command, Settle settle,
                    const std::function<bool(const BackUp& backUp)>& write);
    // Makes a backup of the image before its first write since it was opened, sparing keep
    // from the backups removed to make room. Returns whether the write may go ahead: with a
    // backup, or without one if the user agrees.
    bool BackUpBeforeWrite(const QString& keep);
    // Undo and Redo: moves through the history, then names the values another program
    // changed meanwhile, which were left alone, and loads the pages again from the image.
    void MoveInHistory(bool back);
    // What follows a move through the history, one step or several: a failed write is raised,
    // the writes are flushed, the values another program changed meanwhile are named, and the
    // pages and the compare window read the image again.
    void AfterSteps();
    // Edit > History...: the steps as a list, where choosing one moves there. Unapplied edits
    // are settled once, before it opens.
    void ShowHistory();
    // Takes the user to a value: selects its page and its entry and focuses its control.
    void ShowValue(const ValueKind& kind, int index);
    // Loads every page again from the image, except those holding values typed but not applied.
    void ReloadPages();
    // File > Restore Backup...: writes back what differs in a backup of the open image, values
    // and other bytes, as one step of the history.
    void RestoreBackup();
    // File > Apply Patch...: writes what a checked patch changes, as one step of the history.
    void ApplyPatch();
    // View > All Values: shows the table of every value, made at its first use.
    void ShowAllValues();
    // Writes the table's edited values.
    void WriteTableEdits(const std::vector<Value>& edits);
    // The page of the selected tab, or null for a tab without one.
    EditorPage* SelectedPage() const;

    std::unique_ptr<Ui::Main> ui_;
    RomImage rom_;
    ImageValues values_{rom_};
    ProgramControl control_;
    CaptionRefresh* refresh_;
    // A tab of the tab strip and the page it shows.
    struct TabPage {
        QWidget* tab;
        EditorPage* page;
    };
    // In the order of their tabs.
    std::vector<TabPage> pages_;
    std::unique_ptr<PatchCommands> patches_;
    std::unique_ptr<EmulatorCommands> emulator_;
    AllValuesWindow* allValues_ = nullptr;
    bool imageOpen_ = false;
    bool backedUp_ = false;
    // The writes into the open image; it ends when the image is closed.
    QUndoStack history_;
    StepOutcome stepOutcome_;
    // The file chosen at the last Open; a cancelled dialog at a later Open reopens it.
    FileName previousChoice_;
};

} // namespace kst
