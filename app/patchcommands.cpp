#include "patchcommands.h"

#include "changesdialog.h"
#include "core/messages.h"
#include "core/opencheck.h"
#include "core/patch.h"
#include "core/romimage.h"
#include "core/valueexchange.h"
#include "romfile.h"
#include "widgets/programcontrol.h"

#include <QDir>
#include <QFileInfo>
#include <QPushButton>

namespace kst {

namespace {

// The save dialog's file types, BPS first and preselected: it carries checksums of both images.
const QStringList kSaveFilters = {QStringLiteral("BPS patch (*.bps)"),
                                  QStringLiteral("IPS patch (*.ips)")};
const QStringList kOpenFilters = {QStringLiteral("BPS and IPS patches (*.bps *.ips)"),
                                  QStringLiteral("All Files (*)")};

// The name of a chosen file without its folder, for the lines that name it.
QString FileNameOf(const FileName& name) {
    return QFileInfo(name.Text()).fileName();
}

// The preview's line above what a patch or a value list changes.
QString PreviewSummary(const FileName& name) {
    return QStringLiteral("What %1 changes in the open image:").arg(FileNameOf(name));
}

QString SuffixOf(PatchFormat format) {
    return format == PatchFormat::Bps ? QStringLiteral(".bps") : QStringLiteral(".ips");
}

} // namespace

void PatchCommands::CompareWithOriginal(const QString& imagePath) {
    Host& host = control_.Desktop();
    const FileName name = host.ChooseFile(window_, RomNameFilters(), PreselectedRomFilter(),
                                          QStringLiteral("Choose the original image"));
    if (name.IsEmpty())
        return;
    const ImageRead original = ReadImageFile(name, control_.DataFilePath());
    const Message refusal = MessageFor(original.outcome, name, original.file.size);
    // That message says the program closes, and so it does; the others leave the image open.
    if (original.outcome == OpenOutcome::MissingDataFile)
        control_.Fail(refusal);
    if (original.outcome != OpenOutcome::Opened) {
        host.ShowMessage(window_, refusal);
        return;
    }
    CloseCompare();
    originalFile_ = original.file;
    original_ = original.bytes;
    imagePath_ = imagePath;
    compare_ = new ChangesDialog(
        window_, QStringLiteral("Compare With Original"),
        QStringLiteral("What differs from %1 to the open image:").arg(FileNameOf(name)), {});
    compare_->setObjectName(QStringLiteral("CompareWindow"));
    QObject::connect(compare_, &QDialog::finished, compare_, &QObject::deleteLater);
    exporting_ =
        compare_->AddButton(QStringLiteral("&Export Patch..."), QDialogButtonBox::ActionRole);
    compare_->AddButton(QStringLiteral("Close"), QDialogButtonBox::RejectRole);
    control_.Connect(exporting_, &QPushButton::clicked, compare_, [this] { ExportPatch(); });
    compare_->OnValueChosen([this](const ValueKind& kind, int index) {
        control_.Handle([&] { showValue_(kind, index); });
    });
    ImageChanged();
    compare_->show();
}

void PatchCommands::ImageChanged() {
    if (!compare_)
        return;
    image_ = values_.ReadImage();
    const ImageDiff diff = DiffImages(original_, image_);
    compare_->List(DescribeDiff(diff));
    exporting_->setEnabled(!diff.Empty());
}

void PatchCommands::CloseCompare() {
    if (compare_)
        compare_->reject();
}

void PatchCommands::ExportPatch() {
    Host& host = control_.Desktop();
    QString filter = kSaveFilters[lastFormat_ == PatchFormat::Ips ? 1 : 0];
    const QFileInfo image(imagePath_);
    QString path =
        host.ChooseSaveFile(compare_, QStringLiteral("Save the patch as"), kSaveFilters, filter,
                            image.dir().filePath(image.completeBaseName() + SuffixOf(lastFormat_)));
    if (path.isEmpty())
        return;
    // A typed suffix says the format, as on the command line; the file type chosen only where
    // none is typed.
    const std::optional<PatchFormat> typed = FormatOfName(path);
    const PatchFormat format = typed                       ? *typed
                               : filter == kSaveFilters[1] ? PatchFormat::Ips
                                                           : PatchFormat::Bps;
    if (!typed)
        path += SuffixOf(format);
    const QByteArray patch = MakePatch(format, original_, image_);
    const QString reason = SavePatchFile(
        path, patch,
        {{originalFile_, patchtext::kOriginalImage}, {rom_.Identity(), patchtext::kOpenImage}});
    if (!reason.isEmpty()) {
        host.ShowMessage(compare_, PatchFileMessage(true, reason));
        return;
    }
    lastFormat_ = format;
    compare_->SetNote(patchtext::Written(QDir::toNativeSeparators(path), patch.size()));
}

bool PatchCommands::ApplyPatchFile(const std::function<bool()>& mayWrite) {
    Host& host = control_.Desktop();
    const FileName name = host.ChooseFile(window_, kOpenFilters, kOpenFilters.front(),
                                          QStringLiteral("Choose a patch to apply"));
    if (name.IsEmpty())
        return false;
    QByteArray patch;
    const QString unread = ReadPatchFile(name, patch);
    if (!unread.isEmpty()) {
        host.ShowMessage(window_, PatchFileMessage(false, unread));
        return false;
    }
    const QByteArray current = values_.ReadImage();
    const PatchResult result = PatchImage(patch, current);
    if (!result.refusal.isEmpty()) {
        host.ShowMessage(window_, PatchRefusedMessage(result.refusal));
        return false;
    }
    if (result.image == current) {
        host.ShowMessage(window_, kAlreadyAppliedMessage);
        return false;
    }
    return PreviewAndWrite(QStringLiteral("Apply Patch"), PreviewSummary(name), current,
                           result.image, mayWrite, kImageChangedMessage);
}

bool PatchCommands::PreviewAndWrite(const QString& title, const QString& summary,
                                    const QByteArray& current, const QByteArray& target,
                                    const std::function<bool()>& mayWrite,
                                    const Message& changedMessage) {
    Host& host = control_.Desktop();
    ChangesDialog preview(window_, title, summary, DescribeDiff(DiffImages(current, target)));
    preview.AddButton(QStringLiteral("&Apply"), QDialogButtonBox::AcceptRole);
    preview.AddButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    if (host.RunDialog(preview) != QDialog::Accepted)
        return false;
    if (!mayWrite())
        return false;
    // The file was checked as it was before the preview and the backup's question, which
    // another program may have written meanwhile.
    if (values_.ReadImage() != current) {
        host.ShowMessage(window_, changedMessage);
        return false;
    }
    WriteDifferences(values_, current, target);
    return true;
}

void PatchCommands::ExportValueList(const QString& imagePath) {
    Host& host = control_.Desktop();
    const QStringList& filters = tabletext::kSaveFilters;
    QString filter = filters.front();
    const QFileInfo image(imagePath);
    QString path = host.ChooseSaveFile(
        window_, tabletext::kExportTitle, filters, filter,
        image.dir().filePath(image.completeBaseName() + QStringLiteral(".csv")));
    if (path.isEmpty())
        return;
    // A typed suffix says the format, as on the command line; the file type chosen only where
    // none is typed.
    std::optional<ValueFormat> format = ValueFormatOfName(path);
    if (!format) {
        format = filter == filters[1] ? ValueFormat::Json : ValueFormat::Csv;
        path += *format == ValueFormat::Json ? QStringLiteral(".json") : QStringLiteral(".csv");
    }
    const QString reason =
        SaveValueFile(path, ExportValues(*format, values_.ReadImage()), rom_.Identity());
    if (!reason.isEmpty())
        host.ShowMessage(window_, ValueFileMessage(true, reason));
}

bool PatchCommands::ImportValueList(const std::function<bool()>& mayWrite) {
    Host& host = control_.Desktop();
    const FileName name = host.ChooseFile(window_, tabletext::kOpenFilters,
                                          tabletext::kOpenFilters.front(), tabletext::kImportTitle);
    if (name.IsEmpty())
        return false;
    QByteArray list;
    const QString unread = ReadValueFile(name, list);
    if (!unread.isEmpty()) {
        host.ShowMessage(window_, ValueFileMessage(false, unread));
        return false;
    }
    // A list without either suffix is read as CSV, what spreadsheets write.
    const ValueFormat format = ValueFormatOfName(name.Text()).value_or(ValueFormat::Csv);
    const QByteArray current = values_.ReadImage();
    const ValueImport import = ReadValueList(format, list, current);
    if (import.Refused()) {
        host.ShowMessage(window_, ValuesRefusedMessage(import.where, import.refusal));
        return false;
    }
    if (import.changes.empty()) {
        host.ShowMessage(window_, tabletext::kNothingToImportMessage);
        return false;
    }
    return PreviewAndWrite(tabletext::kImportCaption, PreviewSummary(name), current,
                           WithChanges(current, import.changes), mayWrite,
                           tabletext::kChangedSinceCheckedMessage);
}

} // namespace kst
