#pragma once

#include <QObject>
#include <QString>
#include <vector>

class QLineEdit;
class QWidget;

namespace kst {

class ProgramControl;
class RomImage;

// A word of the game shown on the "General Text (View Only)" page.
struct GameWord {
    const char* box;
    quint32 offset;
    quint16 length;
    // The word as the game spells it, as long as its bytes; the box holds it until an image
    // is opened.
    const char* text;
    // What the word is in the game; with the word, the box's name for screen readers.
    const char* role;
};

// In the order they are loaded, which is not their order in the ROM.
extern const GameWord kGameWords[21];

// The read-only text page: 21 words of the game's menus, decoded from the open image.
class GeneralTextPage : public QObject {
public:
    GeneralTextPage(QWidget* window, RomImage& rom, ProgramControl& control);

    // Decodes length bytes from file offset on through the character table. Needs "KST.tbl"
    // beside the program, as every fetch of game text does.
    QString GetText(quint32 offset, quint16 length);
    // Fills the page's boxes from the open image.
    void LoadGeneralText();

private:
    RomImage& rom_;
    ProgramControl& control_;
    std::vector<QLineEdit*> boxes_; // in the order of kGameWords
};

} // namespace kst
