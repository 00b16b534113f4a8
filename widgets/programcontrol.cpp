#include "programcontrol.h"

#include "core/messages.h"
#include "core/opencheck.h"
#include "core/romimage.h"
#include "programnames.h"

#include <QDir>

namespace kst {

void ProgramControl::Fail(const Message& message) {
    // No handler runs while the message is up, and the image's files are given back first, so
    // that the message box can be drawn even when they were the last ones this program had.
    ended_ = true;
    rom_.Close();
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

int ProgramControl::Ask(const Message& question, const QStringList& buttons, int defaultButton,
                        int escapeButton) {
    const int answer = host_.Ask(window_, question, buttons, defaultButton, escapeButton);
    if (answer < 0)
        Fail(UnaskedMessage(question));
    return answer;
}

void ProgramControl::RequireDataFile(const QString& path) {
    if (!DataFilePresent(path))
        Fail(kMissingDataFileMessage);
}

QString ProgramControl::DataFilePath() const {
    return QDir(host_.ProgramFolder()).filePath(QLatin1String(kDataFileName));
}

void ProgramControl::Handle(const std::function<void()>& handler) {
    if (ended_)
        return;
    try {
        try {
            handler();
        } catch (const RomAccessError& error) {
            Fail(RomAccessMessage(error.Writing(), error.Reason(), error.Damaged()));
        }
    } catch (const ProgramEnded&) {
        // The program has ended; the rest of this event is dropped.
    }
}

} // namespace kst
