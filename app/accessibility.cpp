#include "accessibility.h"

#include "core/widgets.h"

#include <QWidget>

namespace kst {

namespace {

// What assistive technology says about one control. A null name leaves the control's own
// text as its name: the value captions and the racers' names show what they stand for, and
// Qt announces a changed text only while no fixed name hides it. The names are fixed English
// descriptions, so they stay as they are whatever image is open; the general text page names
// its own boxes from its table of words.
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
    {"MotorCostTXT", "Motor price, in tens of dollars", "Digits only, 0 to 32000"},
    {"TireCostTXT", "Tire price, in tens of dollars", "Digits only, 0 to 32000"},
    {"WingCostTXT", "Wing price, in tens of dollars", "Digits only, 0 to 32000"},
    {"FuelCostTXT", "Fuel price, in tens of dollars", "Digits only, 0 to 32000"},
    {"BodyCostTXT", "Body price, in tens of dollars", "Digits only, 0 to 32000"},
    {"MotorCostLBL", nullptr, "Motor price in dollars"},
    {"TireCostLBL", nullptr, "Tire price in dollars"},
    {"WingCostLBL", nullptr, "Wing price in dollars"},
    {"FuelCostLBL", nullptr, "Fuel price in dollars"},
    {"BodyCostLBL", nullptr, "Body price in dollars"},
    {"MotorLST", "Motors", "The selected motor's price is shown for editing"},
    {"TireLST", "Tires", "The selected tire's price is shown for editing"},
    {"WingLST", "Wings", "The selected wing's price is shown for editing"},
    {"FuelLST", "Fuels", "The selected fuel's price is shown for editing"},
    {"BodyLST", "Bodies", "The selected body's price is shown for editing"},

    {"EnemyFRA", "Enemy racer data", nullptr},
    {"EnemyLST", "Races", "The selected race's prize money and enemy settings are shown"},
    {"Enemy1IMG", "First enemy racer", "Portrait of the first enemy racer"},
    {"Enemy1LBL", nullptr, "Name of the first enemy racer"},
    {"EnemyTrack1IMG", "Track of the first enemy racer", "Track of the first enemy racer"},
    {"Enemy2IMG", "Second enemy racer", "Portrait of the second enemy racer"},
    {"Enemy2LBL", nullptr, "Name of the second enemy racer"},
    {"EnemyTrack2IMG", "Track of the second enemy racer", "Track of the second enemy racer"},
    {"EnemyCashTXT", "Prize money of the selected race, in tens of dollars",
     "Digits only, 0 to 65535"},
    {"MoneyxLBL", nullptr, "Prize money in dollars"},
    {"AISLDR", "Enemy racers' AI strength, 0 to 22", nullptr},
    {"AILBL", nullptr, "AI strength in decimal and hexadecimal"},
    {"TireSLDR", "Enemy racers' tire grip, 0 to 16", nullptr},
    {"TiresLBL", nullptr, "Tire grip in decimal and hexadecimal"},
    {"TurboSLDR", "Enemy racers' turbo, 0 to 99", nullptr},
    {"TurboLBL", nullptr, "Turbo in decimal and hexadecimal"},

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
