#pragma once

#include "core/imagefile.h"
#include "core/patch.h"

#include <QByteArray>
#include <QPointer>
#include <QString>
#include <functional>

class QPushButton;
class QWidget;

namespace kst {

class ChangesDialog;
class ImageValues;
struct Message;
class ProgramControl;
class RomImage;
struct ValueKind;

// File > Compare With Original..., Apply Patch..., Export Values... and Import Values...: what
// differs from an original image to the open one, shared as a patch, the values shared as a list,
// and patches and value lists checked and applied to the open image.
class PatchCommands {
public:
    // Takes the user to a value in the main window: its page, its entry and its control.
    using ShowValue = std::function<void(const ValueKind&, int index)>;

    PatchCommands(QWidget* window, const RomImage& rom, ImageValues& values,
                  ProgramControl& control, ShowValue showValue)
        : window_(window), rom_(rom), values_(values), control_(control),
          showValue_(std::move(showValue)) {}

    // Opens the compare window over a chosen original, opened read-only with the open checks:
    // what differs from it to the open image, found at imagePath. The window stays beside the
    // main window, which takes input meanwhile; its Export Patch... saves the differences.
    void CompareWithOriginal(const QString& imagePath);
    // Compares the open image again with the same original, if the compare window is open: the
    // main window tells it after every write and every move through the history.
    void ImageChanged();
    // Closes the compare window, if it is open: the image it compares is being closed.
    void CloseCompare();
    // Checks a chosen patch against the open image and previews what it changes. Once the user
    // applies it and mayWrite agrees (the backup before a first write), and the image is still
    // the one checked, writes what it changes, and only that, and returns true; the window has
    // yet to flush it and record the step.
    bool ApplyPatchFile(const std::function<bool()>& mayWrite);
    // Saves every value of the open image, found at imagePath, as stored, into a chosen CSV or
    // JSON file.
    void ExportValueList(const QString& imagePath);
    // As ApplyPatchFile, for a chosen value list checked whole against the open image.
    bool ImportValueList(const std::function<bool()>& mayWrite);

private:
    void ExportPatch();
    // Previews what target changes in current, the image as checked, under a title and a
    // summary; once the user applies it and mayWrite agrees, and the image is still current,
    // writes the differences and returns true, or shows changedMessage.
    bool PreviewAndWrite(const QString& title, const QString& summary, const QByteArray& current,
                         const QByteArray& target, const std::function<bool()>& mayWrite,
                         const Message& changedMessage);

    QWidget* window_;
    const RomImage& rom_;
    ImageValues& values_;
    ProgramControl& control_;
    ShowValue showValue_;
    // The compare window and what it compares, while it is open.
    QPointer<ChangesDialog> compare_;
    QPushButton* exporting_ = nullptr;
    FileFacts originalFile_;
    QByteArray original_;
    QByteArray image_; // the open image as last compared
    QString imagePath_;
    // The save dialog offers the format last written first.
    PatchFormat lastFormat_ = PatchFormat::Bps;
};

} // namespace kst
