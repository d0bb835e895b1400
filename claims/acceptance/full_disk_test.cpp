// A full disk: the data folder is a small tmpfs that the test fills. A save that finds no room
// must fail whole with a "Database Error" box, the form must keep everything typed and its mode,
// the file must stay sound with every earlier claim, and the same SAVE must work once there is
// room again.
#include "clerk.h"
#include "dialogs.h"
#include "frmBillEntry.h"
#include "module1.h"
#include "mounts.h"
#include "qt_printing.h"
#include "stored_claims.h"
#include "temporary_register.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <iostream>

namespace acceptance {
namespace {

constexpr qint64 kDiskBytes = 1024 * 1024;

// Every box of the form as the clerk sees it, by name.
std::map<QString, QString> form_contents(const QWidget& form) {
    std::map<QString, QString> contents;
    for (const QLineEdit* box : form.findChildren<QLineEdit*>())
        if (!box->objectName().isEmpty() && qobject_cast<QComboBox*>(box->parent()) == nullptr &&
            qobject_cast<QDateEdit*>(box->parent()) == nullptr)
            contents[box->objectName()] = box->text();
    for (const QComboBox* list : form.findChildren<QComboBox*>())
        contents[list->objectName()] = list->currentText();
    for (const QDateEdit* picker : form.findChildren<QDateEdit*>())
        contents[picker->objectName()] = picker->date().toString(Qt::ISODate);
    for (const QPushButton* button : form.findChildren<QPushButton*>())
        contents[button->objectName()] =
            button->text() + (button->isEnabled() ? " enabled" : " disabled");
    return contents;
}

TEST(FullDisk, ASaveThatFindsNoRoomFailsWholeAndTheFormKeepsItsInput) {
    QTemporaryDir base;
    ASSERT_TRUE(base.isValid());
    const QString folder = base.filePath("data");
    ASSERT_TRUE(QDir().mkpath(folder));
    QString refused;
    const auto disk = Mount::small_disk(folder, kDiskBytes, &refused);
    if (!disk)
        GTEST_SKIP() << "this machine does not let the test mount a small disk: "
                     << refused.toStdString();

    const OpenRegister opened(folder);
    platform::DialogScript boxes;
    frmBillEntry form;
    form.show();
    Clerk clerk(form);
    const auto save = [&] {
        boxes.clear_shown();
        boxes.answer(platform::vbYes);
        clerk.click("cmd_save");
        return boxes.shown().back();
    };
    clerk.click("cmd_addnew");
    fill_claim(clerk, numbered_claim("D", 1));
    ASSERT_EQ(save().title, "Saved");

    const qint64 filled = fill_disk(QDir(folder).filePath("filler"));
    clerk.click("cmd_addnew");
    fill_claim(clerk, numbered_claim("D", 2));
    const std::map<QString, QString> typed = form_contents(form);
    const platform::ShownBox refusal = save();
    EXPECT_EQ(refusal.title, "Database Error");
    EXPECT_TRUE(refusal.text.startsWith("The record was not saved: "))
        << refusal.text.toStdString();
    EXPECT_TRUE(refusal.text.contains("full")) << refusal.text.toStdString();
    EXPECT_EQ(form_contents(form), typed) << "every box, the number, the mode and the buttons";

    // Still full, and the program started again: the file reads as sound and holds the first
    // claim alone, whole.
    store::TemporaryRegister::close_all();
    Module1::open_database();
    EXPECT_EQ(integrity_check(), QStringList{"ok"});
    std::vector<StoredRow> rows = stored_rows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(differences(saved_row(numbered_claim("D", 1), 101), rows[0]), QStringList());

    // Room again: the same SAVE on the same form stores the claim, and a restart finds both.
    ASSERT_TRUE(QFile::remove(QDir(folder).filePath("filler")));
    EXPECT_EQ(save().title, "Saved");
    store::TemporaryRegister::close_all();
    Module1::open_database();
    EXPECT_EQ(integrity_check(), QStringList{"ok"});
    rows = stored_rows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(differences(saved_row(numbered_claim("D", 2), 102), rows[1]), QStringList());
    std::cout << "a save on a full " << kDiskBytes / 1024 << " KiB disk (" << filled
              << " bytes of filler) failed whole and succeeded once room was made" << std::endl;
}

} // namespace
} // namespace acceptance
