#include "patchcommands.h"

#include "changesdialog.h"
#include "core/opencheck.h"
#include "core/patch.h"
#include "core/romimage.h"
#include "romfile.h"
#include "widgets/programcontrol.h"

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

QString SuffixOf(PatchFormat format) {
    return format == PatchFormat::Bps ? QStringLiteral(".bps") : QStringLiteral(".ips");
}

} // namespace

void PatchCommands::CompareWithOriginal() {
    Host& host = control_.host();
    const FileName name = host.ChooseFile(window_, RomNameFilters(), PreselectedRomFilter());
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
    const QByteArray image = values_.ReadImage();
    const ImageDiff diff = DiffImages(original.bytes, image);
    ChangesDialog dialog(
        window_, QStringLiteral("Compare With Original"),
        QStringLiteral("What differs from %1 to the open image:").arg(FileNameOf(name)),
        DescribeDiff(diff));
    QPushButton* exporting =
        dialog.AddButton(QStringLiteral("&Export Patch..."), QDialogButtonBox::ActionRole);
    exporting->setEnabled(!diff.Empty());
    dialog.AddButton(QStringLiteral("Close"), QDialogButtonBox::RejectRole);
    QObject::connect(exporting, &QPushButton::clicked, &dialog,
                     [&] { ExportPatch(&dialog, original.file, original.bytes, image); });
    host.RunDialog(dialog);
}

void PatchCommands::ExportPatch(QWidget* parent, const FileFacts& originalFile,
                                const QByteArray& original, const QByteArray& image) {
    QString filter = kSaveFilters.front();
    QString path = control_.host().ChooseSaveFile(parent, kSaveFilters, filter);
    if (path.isEmpty())
        return;
    const PatchFormat format = filter == kSaveFilters[1] ? PatchFormat::Ips : PatchFormat::Bps;
    if (FormatOfName(path) != format)
        path += SuffixOf(format);
    const QString reason = SavePatchFile(
        path, MakePatch(format, original, image),
        {{originalFile, patchtext::kOriginalImage}, {rom_.Identity(), patchtext::kOpenImage}});
    if (!reason.isEmpty())
        control_.host().ShowMessage(parent, PatchFileMessage(true, reason));
}

bool PatchCommands::ApplyPatchFile(const std::function<bool()>& mayWrite) {
    Host& host = control_.host();
    const FileName name = host.ChooseFile(window_, kOpenFilters, kOpenFilters.front());
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
    ChangesDialog preview(
        window_, QStringLiteral("Apply Patch"),
        QStringLiteral("What %1 changes in the open image:").arg(FileNameOf(name)),
        DescribeDiff(DiffImages(current, result.image)));
    preview.AddButton(QStringLiteral("&Apply"), QDialogButtonBox::AcceptRole);
    preview.AddButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    if (host.RunDialog(preview) != QDialog::Accepted)
        return false;
    if (!mayWrite())
        return false;
    // The patch was checked against the image as it was before the preview and the backup's
    // question, which another program may have written meanwhile.
    if (values_.ReadImage() != current) {
        host.ShowMessage(window_, kImageChangedMessage);
        return false;
    }
    WriteDifferences(values_, current, result.image);
    return true;
}

} // namespace kst
