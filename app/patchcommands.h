#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

class QWidget;

namespace kst {

class ImageValues;
class ProgramControl;
class RomImage;
struct FileFacts;

// File > Compare With Original... and File > Apply Patch...: what differs from an original
// image to the open one, shared as a patch, and patches checked and applied to the open image.
class PatchCommands {
public:
    PatchCommands(QWidget* window, const RomImage& rom, ImageValues& values,
                  ProgramControl& control)
        : window_(window), rom_(rom), values_(values), control_(control) {}

    // Lists what differs from a chosen original, opened read-only with the open checks, to the
    // open image; the list's Export Patch... saves the differences as a patch.
    void CompareWithOriginal();
    // Checks a chosen patch against the open image and previews what it changes. Once the user
    // applies it and mayWrite agrees (the backup before a first write), and the image is still
    // the one checked, writes what it changes, and only that, and returns true; the window has
    // yet to flush it and record the step.
    bool ApplyPatchFile(const std::function<bool()>& mayWrite);

private:
    void ExportPatch(QWidget* parent, const FileFacts& originalFile, const QByteArray& original,
                     const QByteArray& image);

    QWidget* window_;
    const RomImage& rom_;
    ImageValues& values_;
    ProgramControl& control_;
};

} // namespace kst
