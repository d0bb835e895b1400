// The register on a database server, as the program's start sees it: which server (--server or
// the per-user setting "server"), the terminal commands that make a register there and copy a
// file into it, and the opening after the sign-in with its password prompt and failure box.
#pragma once

#include <QString>

class QAction;

namespace server_start {

// The per-user setting that names the server, so a clerk's desktop entry needs no arguments.
inline constexpr char kServerSetting[] = "server";

// The --server value when given, else the setting; empty for the register file.
QString chosen_server(const QString& option_value);

// vetra --server URL --create-register: makes the register in the server's empty database.
// Prints what was done or why not; returns the program's status (0 or 1).
int create_register(const QString& server);

// vetra --copy-register FILE --server URL: copies the register file into the server's new
// register, printing progress and the outcome; returns the program's status (0 or 1).
int copy_register(const QString& file, const QString& server);

// Reaches the server after the sign-in, asking for the password (never echoed, never stored)
// when the server wants one none of libpq's sources gave. False after the "Database Error" box
// naming the server and the reason, or when the clerk gave no password.
bool reach_server();

// The box for a register on the server that cannot be opened.
void tell_cannot_open(const QString& reason);

// The file backups do not apply to a register on a server: the items stay disabled and say why.
void explain_backups(QAction* back_up, QAction* restore, QAction* list);

} // namespace server_start
