#include "scriptcommands.h"

#include "core/opencheck.h"
#include "core/patch.h"
#include "core/valuemodel.h"

#include <optional>

namespace kst {

namespace {

constexpr int kRefused = 1;

// What a script is told about a file: the program, the file and the message.
QString About(const QString& file, const QString& text) {
    return QStringLiteral("kestrune-toolbox: %1: %2\n").arg(file, text);
}

// The open checks' messages, but for a file that cannot be opened at all, which the window
// meets only as a cancelled dialog would.
QString OpenRefusal(OpenOutcome outcome) {
    if (outcome == OpenOutcome::NotOpened)
        return QStringLiteral("The file cannot be opened: it is missing, not an ordinary file, "
                              "or not accessible to this program.");
    return MessageFor(outcome).text;
}

std::optional<QByteArray> ReadChecked(const QString& path, const QString& dataFile,
                                      QTextStream& err) {
    ImageFile image = ReadImageFile(path, dataFile);
    if (image.outcome == OpenOutcome::Opened)
        return std::move(image.bytes);
    err << About(path, OpenRefusal(image.outcome));
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

int WritePatch(const QByteArray& original, const QByteArray& image, const QString& path,
               QTextStream& err) {
    const QByteArray patch = MakePatch(*FormatOfName(path), original, image);
    const QString reason = SavePatchFile(path, patch);
    if (reason.isEmpty())
        return 0;
    err << About(path, PatchFileMessage(true, reason).text);
    return kRefused;
}

// Checks the patch against the image, then writes the bytes it changes, and only those, into
// the image in place.
int ApplyPatchFile(const QString& patchPath, const QString& path, const QString& dataFile,
                   QTextStream& out, QTextStream& err) {
    QByteArray patch;
    const QString unread = ReadPatchFile(patchPath, patch);
    if (!unread.isEmpty()) {
        err << About(patchPath, PatchFileMessage(false, unread).text);
        return kRefused;
    }
    RomImage rom;
    try {
        const OpenOutcome outcome = OpenChecked(rom, path, dataFile);
        if (outcome != OpenOutcome::Opened) {
            err << About(path, OpenRefusal(outcome));
            return kRefused;
        }
        ImageValues values(rom);
        const QByteArray current = values.ReadImage();
        const PatchResult result = ApplyPatch(patch, current);
        if (!result.refusal.isEmpty()) {
            err << About(patchPath, PatchRefusedMessage(result.refusal).text);
            return kRefused;
        }
        WriteDifferences(values, current, result.image);
        rom.Flush();
        PrintDiff(out, DiffImages(current, result.image));
        return 0;
    } catch (const RomAccessError& error) {
        err << About(path,
                     QStringLiteral("The ROM file could not be %1: %2.")
                         .arg(error.Writing() ? QStringLiteral("written") : QStringLiteral("read"),
                              error.Reason()));
        return kRefused;
    }
}

} // namespace

int RunScriptCommand(const CommandLine& command, const QString& dataFile, QTextStream& out,
                     QTextStream& err) {
    const QStringList& files = command.scriptFiles;
    if (command.script == ScriptCommand::ApplyPatch)
        return ApplyPatchFile(files[0], files[1], dataFile, out, err);
    const std::optional<QByteArray> first = ReadChecked(files[0], dataFile, err);
    if (!first)
        return kRefused;
    if (command.script == ScriptCommand::Values)
        return PrintValues(*first, out);
    const std::optional<QByteArray> second = ReadChecked(files[1], dataFile, err);
    if (!second)
        return kRefused;
    if (command.script == ScriptCommand::MakePatch)
        return WritePatch(*first, *second, files[2], err);
    const ImageDiff diff = DiffImages(*first, *second);
    PrintDiff(out, diff);
    return diff.Empty() ? 0 : kRefused;
}

} // namespace kst
