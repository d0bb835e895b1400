// The `lzh` command for packagers: `lzh c IN OUT` compresses IN into OUT,
// `lzh d IN OUT` decompresses it. OUT appears only complete: the result goes
// to a new file beside it that is renamed to OUT once written.
#pragma once

#include <ostream>
#include <span>

namespace lzh {

// How the command is called, as --help and a wrong call show it.
extern const char* const kUsage;

// Runs the command with its arguments (without the program name); returns
// the exit status, 0 on success, 2 for a wrong call (`err` shows the usage)
// and 1 on any other failure, which `err` explains.
int runTool(std::span<const char* const> args, std::ostream& err);

} // namespace lzh
