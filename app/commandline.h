#pragma once

#include "core/imagefile.h"

#include <QList>
#include <QStringList>
#include <optional>

namespace kst {

// The commands for scripts, which run without a window.
enum class ScriptCommand {
    None,
    Values,
    Diff,
    MakePatch,
    ApplyPatch,
    ExportValues,
    ImportValues,
    Set
};

// What the program's command line asks for: `kestrune-toolbox [FILE]`, or a command for
// scripts with its files.
struct CommandLine {
    // Set when the program ends at once without a window: after --help or --version (0), or
    // after a usage error (2).
    std::optional<int> exitCode;
    // The image that the first open takes in place of the dialog's answer, as the system
    // passed it, made absolute; empty when none was named.
    FileName file;
    ScriptCommand script = ScriptCommand::None;
    QList<FileName> scriptFiles; // as many as the command takes, in its order, made absolute
    QStringList settings;        // --set's "NAME[INDEX]=NUMBER" after its FILE
};

// Reads the arguments before the application object exists, so --help and --version need
// neither a display nor fonts. Prints the help, the version or a usage error itself. On Windows
// the arguments come from the wide command line instead, which holds any name.
CommandLine ReadCommandLine(int argc, char** argv);

} // namespace kst
