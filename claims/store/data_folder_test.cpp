// Which folder holds the database.
#include "data_folder.h"
#include "test_files.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using store::choose_data_folder;

TEST(DataFolder, TheCommandLineWinsThenTheFolderThatHoldsTheDatabase) {
    QTemporaryDir root;
    const QString program = root.filePath("bin");
    const QString per_user = root.filePath("user");
    QDir().mkpath(program);
    QDir().mkpath(per_user);
    const QString chosen = root.filePath("chosen");

    EXPECT_EQ(choose_data_folder(program, chosen, per_user), chosen);
    EXPECT_EQ(choose_data_folder(program, {}, per_user), program); // writable, empty

    store::test::write_bytes(per_user + "/VETRA.mdb", "x");
    EXPECT_EQ(choose_data_folder(program, {}, per_user), per_user);
    store::test::write_bytes(program + "/VETRA.mdb", "x");
    EXPECT_EQ(choose_data_folder(program, {}, per_user), program);
}

TEST(DataFolder, AnUnwritableProgramFolderWithoutADatabaseGivesThePerUserFolder) {
    QTemporaryDir root;
    const QString per_user = root.filePath("user");
    EXPECT_EQ(choose_data_folder(root.filePath("missing"), {}, per_user), per_user);
}
