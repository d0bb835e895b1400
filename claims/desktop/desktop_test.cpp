// The Help menu and About box, the question before a new register, the window places.
#include "VETRA.h"
#include "desktop.h"
#include "dialogs.h"
#include "run_register.h"
#include "temporary_register.h"
#include "vetra_version.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMenuBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

TEST(HelpMenu, IsLastAndItsAboutBoxNamesVersionFileEngineAndLicence) {
    store::TemporaryRegister reg;
    VETRA window;
    desktop::add_help_menu(window);
    EXPECT_EQ(window.menuBar()->actions().last()->text(), "Help");
    platform::DialogScript boxes;
    window.findChild<QAction*>("mnu_about")->trigger();
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].title, "About Vetraplex");
    const QString text = boxes.shown()[0].text;
    for (const QString& part :
         {QString(kVetraVersion), QDir::toNativeSeparators(reg.database_path()),
          QString("SQLCipher 3."), QString("(SQLite 3."), QString(desktop::kLicence)})
        EXPECT_TRUE(text.contains(part)) << part.toStdString() << " in " << text.toStdString();
}

// No ends the program at once; Yes leads to the sign-in, which names the file.
TEST(NewRegister, TheBoxNamesTheFileAndNoCreatesNothing) {
    QTemporaryDir base;
    const QString folder = base.filePath("claims"), file = folder + "/VETRA.mdb";
    platform::DialogScript boxes;
    boxes.answer(platform::vbNo).answer(platform::vbYes);
    EXPECT_EQ(run_register({"vetra", "--data-dir", folder}), 0);
    EXPECT_FALSE(QFileInfo::exists(folder));
    QString named;
    QTimer::singleShot(0, [&] {
        QWidget* login = QApplication::activeModalWidget();
        named = login->findChild<QLabel*>("lbl_register_file")->text();
        login->close();
    });
    EXPECT_EQ(run_register({"vetra", "--data-dir", folder}), 0);
    EXPECT_EQ(named, "Register: " + QDir::toNativeSeparators(file));
    ASSERT_EQ(boxes.shown().size(), 2u);
    for (const platform::ShownBox& box : boxes.shown()) {
        EXPECT_EQ(box.title, "New Register");
        EXPECT_TRUE(box.text.contains(QDir::toNativeSeparators(file)));
    }
}

TEST(WindowPlaces, AReportWindowComesBackWhereItWasLeft) {
    QSettings().remove("windows");
    desktop::remember_window_places();
    QWidget first, again;
    first.setObjectName("ReportPreviewDialog");
    first.setGeometry(120, 90, 420, 310);
    first.show();
    first.hide();
    again.setObjectName("ReportPreviewDialog");
    again.resize(200, 150);
    again.show();
    EXPECT_EQ(again.size(), QSize(420, 310));
}

} // namespace
