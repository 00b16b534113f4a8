#include "scriptcommands.h"

#include "core/messages.h"
#include "core/opencheck.h"
#include "core/patch.h"
#include "core/valueexchange.h"
#include "core/valuemodel.h"
#include "programnames.h"

#include <functional>
#include <optional>

namespace kst {

namespace {

constexpr int kRefused = 1;

// What a script is told about a file: the program, the file and the message.
QString About(const FileName& file, const QString& text) {
    return QStringLiteral("%1: %2: %3\n").arg(QLatin1String(kProgramName), file.Text(), text);
}

// The open checks' messages, but for a file that cannot be opened at all, which the window
// meets only as a cancelled dialog would.
QString OpenRefusal(OpenOutcome outcome, const FileName& file, qint64 fileSize) {
    if (outcome == OpenOutcome::NotOpened)
        return QStringLiteral("The file cannot be opened: it is missing, not an ordinary file, "
                              "or not accessible to this program.");
    return WholeText(MessageFor(outcome, file, fileSize));
}

std::optional<ImageRead> ReadChecked(const FileName& file, const QString& dataFile,
                                     QTextStream& err) {
    ImageRead image = ReadImageFile(file, dataFile);
    if (image.outcome == OpenOutcome::Opened)
        return image;
    err << About(file, OpenRefusal(image.outcome, file, image.file.size));
    return std::nullopt;
}

void PrintDiff(QTextStream& out, const std::vector<DiffGroup>& described) {
    for (const DiffGroup& group : described) {
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

int ExportValueFile(const ImageRead& image, const FileName& out, QTextStream& err) {
    const QString path = out.Text();
    const QString reason =
        SaveValueFile(path, ExportValues(*ValueFormatOfName(path), image.bytes), image.file);
    if (reason.isEmpty())
        return 0;
    err << About(out, ValueFileMessage(true, reason).text);
    return kRefused;
}

// The image that a patch or a value list gives from the image as it is, or nothing once the
// refusal has been said.
using Changing = std::function<std::optional<QByteArray>(const QByteArray& current)>;

// Opens the image with the open checks and, once changing has checked everything against it,
// writes what differs, and only that, in place, flushes once and prints the values it changed.
int ChangeInPlace(const FileName& file, const QString& dataFile, QTextStream& out, QTextStream& err,
                  const Changing& changing) {
    RomImage rom;
    try {
        const OpenOutcome outcome = OpenChecked(rom, file, dataFile);
        if (outcome != OpenOutcome::Opened) {
            err << About(file, OpenRefusal(outcome, file, rom.Identity().size));
            return kRefused;
        }
        ImageValues values(rom);
        const QByteArray current = values.ReadImage();
        const std::optional<QByteArray> target = changing(current);
        if (!target)
            return kRefused;
        // Nothing to change is no failure, and opens nothing for writing.
        if (*target == current)
            return 0;
        const std::vector<DiffGroup> written = WriteDifferences(values, current, *target);
        rom.Flush();
        PrintDiff(out, written);
        return 0;
    } catch (const RomAccessError& error) {
        err << About(file, RomAccessFailure(error.Writing(), error.Reason(), error.Damaged()));
        return kRefused;
    }
}

int ApplyPatchFile(const FileName& patchFile, const FileName& file, const QString& dataFile,
                   QTextStream& out, QTextStream& err) {
    QByteArray patch;
    const QString unread = ReadPatchFile(patchFile, patch);
    if (!unread.isEmpty()) {
        err << About(patchFile, PatchFileMessage(false, unread).text);
        return kRefused;
    }
    return ChangeInPlace(file, dataFile, out, err,
                         [&](const QByteArray& current) -> std::optional<QByteArray> {
                             PatchResult result = PatchImage(patch, current);
                             if (result.refusal.isEmpty() && result.image == current)
                                 err << About(patchFile, kAlreadyAppliedMessage.text);
                             if (result.refusal.isEmpty())
                                 return std::move(result.image);
                             err << About(patchFile, PatchRefusedMessage(result.refusal).text);
                             return std::nullopt;
                         });
}

// Sets the values that read lists, checked against the image as it is; a refusal is said of
// the file named about.
int SetValues(const FileName& file, const QString& dataFile, const FileName& about,
              const std::function<ValueImport(const QByteArray&)>& read, QTextStream& out,
              QTextStream& err) {
    return ChangeInPlace(
        file, dataFile, out, err, [&](const QByteArray& current) -> std::optional<QByteArray> {
            const ValueImport import = read(current);
            if (!import.Refused())
                return WithChanges(current, import.changes);
            err << About(about, ValuesRefusedMessage(import.where, import.refusal).text);
            return std::nullopt;
        });
}

int ImportValueFile(const FileName& list, const FileName& file, const QString& dataFile,
                    QTextStream& out, QTextStream& err) {
    QByteArray bytes;
    const QString unread = ReadValueFile(list, bytes);
    if (!unread.isEmpty()) {
        err << About(list, ValueFileMessage(false, unread).text);
        return kRefused;
    }
    const ValueFormat format = *ValueFormatOfName(list.Text());
    return SetValues(
        file, dataFile, list,
        [&](const QByteArray& current) { return ReadValueList(format, bytes, current); }, out, err);
}

} // namespace

int RunScriptCommand(const CommandLine& command, const QString& dataFile, QTextStream& out,
                     QTextStream& err) {
    const QList<FileName>& files = command.scriptFiles;
    switch (command.script) {
    case ScriptCommand::ApplyPatch:
        return ApplyPatchFile(files[0], files[1], dataFile, out, err);
    case ScriptCommand::ImportValues:
        return ImportValueFile(files[0], files[1], dataFile, out, err);
    case ScriptCommand::Set:
        return SetValues(
            files[0], dataFile, files[0],
            [&](const QByteArray& current) { return ReadSettings(command.settings, current); }, out,
            err);
    default:
        break;
    }
    const std::optional<ImageRead> first = ReadChecked(files[0], dataFile, err);
    if (!first)
        return kRefused;
    if (command.script == ScriptCommand::Values)
        return PrintValues(first->bytes, out);
    if (command.script == ScriptCommand::ExportValues)
        return ExportValueFile(*first, files[1], err);
    const std::optional<ImageRead> second = ReadChecked(files[1], dataFile, err);
    if (!second)
        return kRefused;
    if (command.script == ScriptCommand::MakePatch)
        return WritePatch(*first, *second, files[2], err);
    const ImageDiff diff = DiffImages(first->bytes, second->bytes);
    PrintDiff(out, DescribeDiff(diff));
    return diff.Empty() ? 0 : kRefused;
}

} // namespace kst
