// Where the program keeps its database.
//
// A folder named on the command line always wins. Otherwise the program's own folder holds the
// database, unless it has none and cannot be written (an installed program), where the per-user
// data folder takes its place; a database already in the per-user folder is found there.
#pragma once

#include <QString>

namespace store {

QString choose_data_folder(const QString& program_folder, const QString& command_line_folder,
                           const QString& per_user_folder);

} // namespace store
