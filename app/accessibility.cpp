#include "accessibility.h"

#include "widgets/widgets.h"

#include <QWidget>

namespace kst {

namespace {

// What assistive technology says about one control. A null name leaves the control's own
// text as its name: the value captions and the racers' names show what they stand for, and
// Qt announces a changed text only while no fixed name hides it. The names are fixed English
// descriptions, so they stay as they are whatever image is open; the value controls, their
// captions and lists are named from the value table (see SpokenValues), and the general text
// page names its own boxes from its table of words.
struct AccessibleText {
    const char* control;
    const char* name;
    const char* description;
};

constexpr AccessibleText kAccessibleTexts[] = {
    {"tabs", "Pages", "Shops, Enemy Racers, Part Names and General Text"},
    {"OpenCMD", "Open", "Choose a ROM image to edit"},
    {"ApplyCMD", "Apply", "Write the edits of the page on show into the image"},
    {"QuitCMD", "Quit", "End the program"},

    {"ShopsFRA", "Shop prices", nullptr},

    {"EnemyFRA", "Enemy racer data", nullptr},
    {"Enemy1IMG", "First enemy racer", "Portrait of the first enemy racer"},
    {"Enemy1LBL", nullptr, "Name of the first enemy racer"},
    {"EnemyTrack1IMG", "Track of the first enemy racer", "Track of the first enemy racer"},
    {"Enemy2IMG", "Second enemy racer", "Portrait of the second enemy racer"},
    {"Enemy2LBL", nullptr, "Name of the second enemy racer"},
    {"EnemyTrack2IMG", "Track of the second enemy racer", "Track of the second enemy racer"},

    {"GeneralFRA", "General text", "Read from the image and shown only; nothing here is saved"},
};

} // namespace

void ApplyAccessibleTexts(QWidget* window) {
    for (const AccessibleText& text : kAccessibleTexts) {
        auto* widget = Child<QWidget>(window, text.control);
        if (text.name)
            widget->setAccessibleName(QString::fromUtf8(text.name));
        if (text.description)
            widget->setAccessibleDescription(QString::fromUtf8(text.description));
    }
}

} // namespace kst
