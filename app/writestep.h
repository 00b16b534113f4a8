#pragma once

#include "core/romimage.h"
#include "core/valuemodel.h"

#include <QStringList>
#include <QUndoCommand>
#include <optional>

namespace kst {

// What the steps of the history met while the undo stack moved through them, which the window
// reads once the move is over: Qt's undo stack must not be left by an exception.
struct StepOutcome {
    // The values left alone because another program changed them.
    QStringList leftAlone;
    // The first write that failed.
    std::optional<RomAccessError> failure;
};

// One write into the open image as a step of its history ("Apply: Buzz Motor price 300 → 450").
// The write has already happened when the step is pushed; undoing it puts back the bytes it
// replaced, redoing it writes them again, each only where the file still holds what the other
// left there.
class WriteStep : public QUndoCommand {
public:
    WriteStep(ImageValues& values, StepOutcome& outcome, const QString& command,
              WriteRecord record);

    void undo() override;
    void redo() override;

private:
    template <typename Move> void Run(Move&& move);

    ImageValues& values_;
    StepOutcome& outcome_;
    WriteRecord record_;
    bool done_ = true;
};

} // namespace kst
