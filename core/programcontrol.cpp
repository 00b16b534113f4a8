#include "programcontrol.h"

#include "messages.h"
#include "romimage.h"

#include <QDir>
#include <QFileInfo>

namespace kst {

void ProgramControl::Fail(const Message& message) {
    host_.ShowMessage(window_, message);
    End(1);
}

void ProgramControl::Quit() {
    End(0);
}

void ProgramControl::End(int exitCode) {
    ended_ = true;
    rom_.Close();
    host_.EndProgram(exitCode);
    throw ProgramEnded{exitCode};
}

void ProgramControl::RequireDataFile(const QString& path) {
    if (!QFileInfo(path).isFile())
        Fail(kMissingDataFileMessage);
}

QString ProgramControl::DataFilePath() const {
    return QDir(host_.ProgramFolder()).filePath(QStringLiteral("KST.tbl"));
}

void ProgramControl::Handle(const std::function<void()>& handler) {
    if (ended_)
        return;
    try {
        try {
            handler();
        } catch (const RomAccessError& error) {
            Fail(RomAccessMessage(error.Writing(), error.Reason()));
        }
    } catch (const ProgramEnded&) {
        // The program has ended; the rest of this event is dropped.
    }
}

} // namespace kst
