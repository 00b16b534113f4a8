#pragma once

#include "host.h"

#include <QObject>
#include <functional>

class QWidget;

namespace kst {

class RomImage;

// Thrown to leave every running handler at once when the program ends; caught only by
// ProgramControl::Handle at the edge of an event.
struct ProgramEnded {
    int exitCode;
};

// Ends the program and runs the window's event handlers: once the program has ended no
// handler runs any more, and a failed access to the ROM image ends the program with a message
// instead of showing or writing wrong values.
class ProgramControl {
public:
    ProgramControl(Host& host, RomImage& rom) : host_(host), rom_(rom) {}

    void SetWindow(QWidget* window) { window_ = window; }
    Host& Desktop() { return host_; }
    bool Ended() const { return ended_; }

    // Shows the message, then ends the program with a non-zero status.
    [[noreturn]] void Fail(const Message& message);
    // Ends the program normally (Quit, closing the window).
    [[noreturn]] void Quit();

    // Asks the host this question and returns the button chosen; where it cannot be shown, ends
    // the program with status 1 and the question's text.
    int Ask(const Message& question, const QStringList& buttons, int defaultButton,
            int escapeButton);

    // Ends the program with the missing-file message unless path is an ordinary file.
    void RequireDataFile(const QString& path);
    // "KST.tbl" in the program's own folder.
    QString DataFilePath() const;

    // Runs one event's handler.
    void Handle(const std::function<void()>& handler);
    // Connects a signal to a handler that runs through Handle, so the end of the program never
    // travels through Qt's own code.
    template <typename Sender, typename Signal, typename Handler>
    void Connect(Sender* sender, Signal signal, const QObject* context, Handler handler) {
        QObject::connect(sender, signal, context, [this, handler] { Handle(handler); });
    }

private:
    [[noreturn]] void End(int exitCode);

    Host& host_;
    RomImage& rom_;
    QWidget* window_ = nullptr;
    bool ended_ = false;
};

} // namespace kst
