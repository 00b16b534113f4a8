#pragma once

#include "core/imagefile.h"

#include <optional>

namespace kst {

// What the program's command line asks for: `kestrune-toolbox [FILE]`.
struct CommandLine {
    // Set when the program ends at once without a window: after --help or --version (0), or
    // after a usage error (2).
    std::optional<int> exitCode;
    // The image that the first open takes in place of the dialog's answer, as the system
    // passed it, made absolute; empty when none was named.
    FileName file;
};

// Reads the arguments before the application object exists, so --help and --version need
// neither a display nor fonts. Prints the help, the version or a usage error itself. On Windows
// the arguments come from the wide command line instead, which holds any name.
CommandLine ReadCommandLine(int argc, char** argv);

} // namespace kst
