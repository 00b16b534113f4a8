#pragma once

#include "widgets/editorpage.h"

#include <QString>
#include <memory>

namespace Ui {
class GeneralTextPage;
}

namespace kst {

class ProgramControl;
class ImageValues;

// The read-only text page: 21 words of the game's menus, decoded from the open image.
class GeneralTextPage : public EditorPage {
    Q_OBJECT

public:
    // Fills the frame from the page's form, every box holding the game's word until an image
    // is opened.
    GeneralTextPage(QGroupBox* frame, ImageValues& values, ProgramControl& control);
    ~GeneralTextPage() override;

    void LoadFirst() override { LoadGeneralText(); }
    void Reload() override { LoadGeneralText(); }

    // Decodes length bytes from file offset on through the character table. Needs "KST.tbl"
    // beside the program, as every fetch of game text does.
    QString GetText(quint32 offset, quint16 length);

protected:
    // The words show without an image.
    bool NeedsImage() const override { return false; }

private:
    // Fills the page's boxes from the open image.
    void LoadGeneralText();

    std::unique_ptr<Ui::GeneralTextPage> ui_;
    ImageValues& values_;
    ProgramControl& control_;
};

} // namespace kst
