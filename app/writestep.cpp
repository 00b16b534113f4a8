#include "writestep.h"

#include <utility>

namespace kst {

WriteStep::WriteStep(ImageValues& values, const QString& command, WriteRecord record)
    : QUndoCommand(command + QStringLiteral(": ") + RecordText(record)), values_(values),
      record_(std::move(record)) {}

template <typename Move> void WriteStep::Run(Move&& move) {
    try {
        leftAlone_ = move();
    } catch (...) {
        failure_ = std::current_exception();
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

void WriteStep::RaiseFailure() {
    if (failure_)
        std::rethrow_exception(std::exchange(failure_, nullptr));
}

} // namespace kst
