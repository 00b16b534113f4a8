#pragma once

// Shared by the benchmarks: a stand-in desktop that answers the open-file dialog with the demo
// image, and a start-up clock that ends the program once its window has first been painted.
// Only Qt is needed here, so the bare program that links this stays free of the editor.
#include "widgets/host.h"

#include <QElapsedTimer>
#include <QString>
#include <cstdio>
#include <functional>
#include <utility>
#include <vector>

class QWidget;

namespace kst::bench {

// The build root, where the build writes KST.tbl, and the demo image it writes below it.
QString BuildFolder();
QString DemoImage();

// The median time of runs calls of work, in microseconds.
double MedianMicroseconds(int runs, const std::function<void()>& work);

// A line of /proc/self/status in kB, such as "VmRSS"; -1 where there is none.
long StatusKilobytes(const char* field);

// The desktop as the editor sees it in a benchmark: the dialog always picks one image, and the
// program's folder is the build root. A message means the run went wrong, so it is printed.
class BenchHost : public Host {
public:
    explicit BenchHost(QString image = DemoImage()) : image_(std::move(image)) {}
    FileName ChooseFile(QWidget*, const QStringList&, const QString&, const QString&) override {
        return FileName::FromText(image_);
    }
    QString ChooseSaveFile(QWidget*, const QString&, const QStringList&, QString&,
                           const QString&) override {
        return {};
    }
    void ShowMessage(QWidget*, const Message& message) override {
        std::fprintf(stderr, "unexpected message: %s\n", qPrintable(message.text));
    }
    int Ask(QWidget* parent, const Message& question, const QStringList&, int defaultButton,
            int) override {
        ShowMessage(parent, question);
        return defaultButton;
    }
    int ChooseBackup(QWidget*, const QList<BackupChoice>&) override { return -1; }
    int RunDialog(QDialog&) override { return 0; }
    QString ProgramFolder() const override { return BuildFolder(); }
    QDateTime Now() const override { return QDateTime::currentDateTimeUtc(); }
    void EndProgram(int) override {}

private:
    QString image_;
};

// Times each step of a start-up from the end of the step before, the first from the start of
// main(). The steps, their sum and the resident memory are printed as "<key> <number>" lines,
// which the start-up runner collects. Started as "PROGRAM --grab FILE", the program also saves
// its finished frame as a PNG file, for comparing the frames of two programs; started as
// "PROGRAM --stay", it stays open, to be timed from outside like any other program.
class StartupClock {
public:
    StartupClock(int argc, char** argv);
    void Mark(const char* step) { marks_.emplace_back(step, clock_.nsecsElapsed() / 1e6); }
    // Once a paint of the window has put complete() on screen, that is once the window has been
    // painted while complete() held: marks "paint", prints the steps and the resident memory
    // (all of it, then its anonymous and its file-backed part), and ends the process at once,
    // since tearing down the window is no part of starting up, unless it is to stay.
    void FinishWhenComplete(QWidget* window, std::function<bool()> complete);
    void FinishWhenPainted(QWidget* window) {
        FinishWhenComplete(window, [] { return true; });
    }

private:
    void Finish(QWidget* window);

    QElapsedTimer clock_;
    QString grabFile_;
    bool stay_ = false;
    std::vector<std::pair<const char*, double>> marks_;
};

} // namespace kst::bench
