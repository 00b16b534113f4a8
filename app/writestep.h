#pragma once

#include "core/valuemodel.h"

#include <QStringList>
#include <QUndoCommand>
#include <exception>

namespace kst {

// One write into the open image as a step of its history ("Apply: Buzz Motor price 300 → 450").
// The write has already happened when the step is pushed; undoing it puts back the bytes it
// replaced, redoing it writes them again, each only where the file still holds what the other
// left there.
class WriteStep : public QUndoCommand {
public:
    WriteStep(ImageValues& values, const QString& command, WriteRecord record);

    void undo() override;
    void redo() override;

    // The values the last undo or redo left alone because another program changed them.
    const QStringList& LeftAlone() const { return leftAlone_; }
    // Rethrows what failed in the last undo or redo: Qt's undo stack is not left by an
    // exception, so the window raises it afterwards.
    void RaiseFailure();

private:
    template <typename Move> void Run(Move&& move);

    ImageValues& values_;
    WriteRecord record_;
    QStringList leftAlone_;
    std::exception_ptr failure_;
    bool done_ = true;
};

} // namespace kst
