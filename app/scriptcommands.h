#pragma once

#include "commandline.h"

#include <QString>
#include <QTextStream>

namespace kst {

// Runs a command for scripts, without a window: what it finds goes to out, every message to
// err. dataFile is the "KST.tbl" that every image's open checks require. Returns the exit
// status: 0 done, 1 a file refused or, for --diff, the images differ.
int RunScriptCommand(const CommandLine& command, const QString& dataFile, QTextStream& out,
                     QTextStream& err);

} // namespace kst
