// The claims register's start, from the command line to the end of the program: the data folder,
// the sign-in, the main window with its forms attached, and the event loop. main() only makes the
// application object and calls it, so tests can start the very same program in their own process.
//
// A database that cannot be opened is reported in a "Database Error" box naming the file and the
// reason; the program then ends with status 1 and the file is left as it was. Closing the
// sign-in ends it with status 0 before anything touches the database. A missing register is
// created only after the clerk agreed to a box naming the file; the sign-in window names the
// file in use.
//
// An unknown option is refused with the usage on standard error and status 2.
#pragma once

#include <QStringList>
#include <optional>

// Answers --help and --version (on standard output, status 0) and refuses an unknown option
// (status 2) without starting anything, so that they need no display: main() asks before it
// makes the application object. Nothing for any other command line.
std::optional<int> answer_help_or_version(const QStringList& arguments);

// Runs the register with `arguments` (the program's name first, as QCoreApplication::arguments()
// gives them) on the QApplication that already exists; returns the program's exit status.
int run_register(const QStringList& arguments);
