#pragma once

#include "programcontrol.h"
#include "romimage.h"

#include <QMainWindow>
#include <QString>
#include <memory>

class QTimer;

namespace Ui {
class Main;
}

namespace kst {

class CaptionRefresh;
class GeneralTextPage;
class Host;
class RacersPage;
class ShopsPage;

// The editor's one window: ROM opening and closing, the tab strip, and Apply and Save.
class MainWindow : public QMainWindow {
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
    // After an open, the page on show is the selected tab's.
    void RevealSelectedPage();
    // Ends the program at once, without a question; unapplied edits are lost.
    void Quit();
    void LoadROMFileSize();
    void CheckVersion();
    void SelectTab();
    void ApplyEdits();
    QString SelectedTabTag() const;
    // Connects a signal to a handler that runs through the program control.
    template <typename Sender, typename Signal, typename Handler>
    void On(Sender* sender, Signal signal, Handler handler);

    std::unique_ptr<Ui::Main> ui_;
    RomImage rom_;
    ProgramControl control_;
    CaptionRefresh* refresh_;
    RacersPage* racers_;
    ShopsPage* shops_;
    GeneralTextPage* text_;
    // The file chosen at the last Open; a cancelled dialog at a later Open reopens it.
    QString previousChoice_;
};

} // namespace kst
