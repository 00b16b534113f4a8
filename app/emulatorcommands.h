#pragma once

#include <QString>
#include <functional>

class QMainWindow;

namespace Ui {
class Main;
}

namespace kst {

class FileName;
class ProgramControl;

// Tools > Run in Emulator (F5) and Tools > Emulator...: the open image started in the user's
// emulator, and the choice of that emulator, kept in the settings.
class EmulatorCommands {
public:
    // Runs the Tools menu's items of the window's form. image is the open image's name; ready
    // settles the unapplied edits and flushes the image, and returns false when nothing may
    // start.
    EmulatorCommands(QMainWindow* window, const Ui::Main& form, ProgramControl& control,
                     const FileName& image, std::function<bool()> ready);

private:
    // Starts the chosen emulator on the image, detached; asks for a program first if none is
    // chosen. A program that cannot be run is named with the reason, and nothing else happens.
    void Run();
    // Shows the settings dialog; returns whether the user took its choice.
    bool Configure();

    QMainWindow* window_;
    ProgramControl& control_;
    const FileName& image_;
    std::function<bool()> ready_;
};

} // namespace kst
