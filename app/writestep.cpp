#include "writestep.h"

#include <utility>

namespace kst {

WriteStep::WriteStep(ImageValues& values, StepOutcome& outcome, const QString& command,
                     WriteRecord record)
    : QUndoCommand(command + QStringLiteral(": ") + RecordText(record)), values_(values),
      outcome_(outcome), record_(std::move(record)) {}

template <typename Move> void WriteStep::Run(Move&& move) {
    try {
        outcome_.leftAlone << move();
    } catch (const RomAccessError& error) {
        if (!outcome_.failure)
            outcome_.failure = error;
    }
}

void WriteStep::undo() {
    Run([this] { return values_.Revert(record_); });
}

void WriteStep::redo() {
    // The stack redoes a step as it is pushed; that write has already been done.
    if (std::exchange(done_, false))
        return;
    Run([this] { return values_.Replay(record_); });
}

} // namespace kst
