// What the register does as an installed desktop program, beside the specified forms: the Help
// menu with its About box, the box before a new register is created, and the window places kept
// per user (QSettings, never in the register file).
#pragma once

#include <QString>

class QMainWindow;

namespace desktop {

// The licence line the About box shows (the full text is the packages' copyright file).
inline constexpr char kLicence[] =
    "Proprietary: all rights reserved. Supplied to the offices that use it; not to be passed on.";

// Appends a "Help" menu with "About Vetraplex" to the window's menu bar. Added after the
// window's own menus, so it stays the last one.
void add_help_menu(QMainWindow& window);

// The About box's text: version, the register file in use, the database engine, the licence.
QString about_text();

// Asks once before a register is created at `database_path` (a missing file). True when the
// clerk agrees; otherwise nothing is to be created.
bool agree_to_new_register(const QString& database_path);

// From now on, the register's main window and report windows come back where the user last left
// them (size, position, maximized or not). The object names of the windows concerned are fixed
// here.
void remember_window_places();

} // namespace desktop
