#pragma once

#include "core/romimage.h"
#include "core/valuemodel.h"
#include "widgets/programcontrol.h"

#include <QMainWindow>
#include <QString>
#include <memory>

namespace Ui {
class Main;
}

namespace kst {

class CaptionRefresh;
class GeneralTextPage;
class PatchCommands;
class RacersPage;
class ShopsPage;

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
    void CloseROM();
    // Ends the program at once, without a question; unapplied edits are lost.
    void Quit();
    // Enables and shows the frames and commands as the open image and the selected tab ask.
    void ShowWindowState();
    void ApplyEdits();
    void ApplyPatch();
    // Ends a write: pushes it to the disk, and closes the record of what it wrote.
    void FinishWrite();
    // Every page shows again what the file holds now for what it has selected.
    void ReloadPages();
    QString SelectedTabTag() const;

    std::unique_ptr<Ui::Main> ui_;
    RomImage rom_;
    ImageValues values_{rom_};
    ProgramControl control_;
    CaptionRefresh* refresh_;
    RacersPage* racers_;
    ShopsPage* shops_;
    GeneralTextPage* text_;
    std::unique_ptr<PatchCommands> patches_;
    bool imageOpen_ = false;
    // The file chosen at the last Open; a cancelled dialog at a later Open reopens it.
    QString previousChoice_;
};

} // namespace kst
