#include "scriptcommands.h"

#include "core/opencheck.h"
#include "core/patch.h"
#include "core/valuemodel.h"

#include <optional>

namespace kst {

namespace {

constexpr int kRefused = 1;

// What a script is told about a file: the program, the file and the message.
QString About(const FileName& file, const QString& text) {
    return QStringLiteral("kestrune-toolbox: %1: %2\n").arg(file.Text(), text);
}

// The open checks' messages, but for a file that cannot be opened at all, which the window
// meets only as a cancelled dialog would.
QString OpenRefusal(OpenOutcome outcome) {
    if (outcome == OpenOutcome::NotOpened)
        return QStringLiteral("The file cannot be opened: it is missing, not an ordinary file, "
                              "or not accessible to this program.");
    return MessageFor(outcome).text;
}

std::optional<ImageRead> ReadChecked(const FileName& file, const QString& dataFile,
                                     QTextStream& err) {
    ImageRead image = ReadImageFile(file, dataFile);
    if (image.outcome == OpenOutcome::Opened)
        return image;
    err << About(file, OpenRefusal(image.outcome));
    return std::nullopt;
}

void PrintDiff(QTextStream& out, const ImageDiff& diff) {
    for (const DiffGroup& group : DescribeDiff(diff)) {
        out << group.title << '\n';
        for (const QString& line : group.lines)
            out << "  " << line << '\n';
    }
}

int PrintValues(const QByteArray& image, QTextStream& out) {
    for (const Value& value : AllValues(image))
        out << value.kind->name << '\t' << value.index << '\t'
            << EntryLabel(*value.kind, value.index) << '\t' << value.number << '\n';
    return 0;
}

int WritePatch(const ImageRead& original, const ImageRead& image, const FileName& out,
               QTextStream& err) {
    const QString path = out.Text();
    const QString reason = SavePatchFile(
        path, MakePatch(*FormatOfName(path), original.bytes, image.bytes),
        {{original.file, patchtext::kOriginalImage}, {image.file, patchtext::kModifiedImage}});
    if (reason.isEmpty())
        return 0;
    err << About(out, PatchFileMessage(true, reason).text);
    return kRefused;
}

// Checks the patch against the image, then writes what it changes, and only that, into the
// image in place.
int ApplyPatchFile(const FileName& patchFile, const FileName& file, const QString& dataFile,
                   QTextStream& out, QTextStream& err) {
    QByteArray patch;
    const QString unread = ReadPatchFile(patchFile, patch);
    if (!unread.isEmpty()) {
        err << About(patchFile, PatchFileMessage(false, unread).text);
        return kRefused;
    }
    RomImage rom;
    try {
        const OpenOutcome outcome = OpenChecked(rom, file, dataFile);
        if (outcome != OpenOutcome::Opened) {
            err << About(file, OpenRefusal(outcome));
            return kRefused;
        }
        ImageValues values(rom);
        const QByteArray current = values.ReadImage();
        const PatchResult result = PatchImage(patch, current);
        if (!result.refusal.isEmpty()) {
            err << About(patchFile, PatchRefusedMessage(result.refusal).text);
            return kRefused;
        }
        // Nothing to do is no failure.
        if (result.image == current) {
            err << About(patchFile, kAlreadyAppliedMessage.text);
            return 0;
        }
        WriteDifferences(values, current, result.image);
        rom.Flush();
        PrintDiff(out, DiffImages(current, result.image));
        return 0;
    } catch (const RomAccessError& error) {
        err << About(file,
                     QStringLiteral("The ROM file could not be %1: %2.")
                         .arg(error.Writing() ? QStringLiteral("written") : QStringLiteral("read"),
                              error.Reason()));
        return kRefused;
    }
}

} // namespace

int RunScriptCommand(const CommandLine& command, const QString& dataFile, QTextStream& out,
                     QTextStream& err) {
    const QList<FileName>& files = command.scriptFiles;
    if (command.script == ScriptCommand::ApplyPatch)
        return ApplyPatchFile(files[0], files[1], dataFile, out, err);
    const std::optional<ImageRead> first = ReadChecked(files[0], dataFile, err);
    if (!first)
        return kRefused;
    if (command.script == ScriptCommand::Values)
        return PrintValues(first->bytes, out);
    const std::optional<ImageRead> second = ReadChecked(files[1], dataFile, err);
    if (!second)
        return kRefused;
    if (command.script == ScriptCommand::MakePatch)
        return WritePatch(*first, *second, files[2], err);
    const ImageDiff diff = DiffImages(first->bytes, second->bytes);
    PrintDiff(out, diff);
    return diff.Empty() ? 0 : kRefused;
}

} // namespace kst
