#pragma once

#include <QObject>
#include <QString>
#include <vector>

class QLineEdit;
class QWidget;

namespace kst {

class ProgramControl;
class ImageValues;

// The read-only text page: 21 words of the game's menus, decoded from the open image.
class GeneralTextPage : public QObject {
    Q_OBJECT

public:
    GeneralTextPage(QWidget* window, ImageValues& values, ProgramControl& control);

    // Decodes length bytes from file offset on through the character table. Needs "KST.tbl"
    // beside the program, as every fetch of game text does.
    QString GetText(quint32 offset, quint16 length);
    // Fills the page's boxes from the open image.
    void LoadGeneralText();

private:
    ImageValues& values_;
    ProgramControl& control_;
    std::vector<QLineEdit*> boxes_; // in the order of kGameWords
};

} // namespace kst
