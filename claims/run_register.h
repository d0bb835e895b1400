// The claims register's start, from the command line to the end of the program: the data folder,
// the sign-in, the main window with its forms attached, and the event loop. main() only makes the
// application object and calls it, so tests can start the very same program in their own process.
//
// A database that cannot be opened is reported in a "Database Error" box naming the file and the
// reason; the program then ends with status 1 and the file is left as it was. Closing the
// sign-in ends it with status 0 before anything touches the database.
#pragma once

#include <QStringList>

// Runs the register with `arguments` (the program's name first, as QCoreApplication::arguments()
// gives them) on the QApplication that already exists; returns the program's exit status.
int run_register(const QStringList& arguments);
