// Choice of the data folder.
#include "data_folder.h"

#include "module1.h"

#include <QDir>
#include <QFileInfo>

namespace store {
namespace {

bool holds_database(const QString& folder) {
    return QFileInfo::exists(QDir(folder).filePath(Module1::kDatabaseFileName));
}

} // namespace

QString choose_data_folder(const QString& program_folder, const QString& command_line_folder,
                           const QString& per_user_folder) {
    if (!command_line_folder.isEmpty())
        return command_line_folder;
    if (holds_database(program_folder))
        return program_folder;
    if (holds_database(per_user_folder))
        return per_user_folder;
    const QFileInfo program(program_folder);
    if (program.isDir() && program.isWritable())
        return program_folder;
    return per_user_folder;
}

} // namespace store
