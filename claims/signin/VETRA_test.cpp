// The main window: its Load, its menus, modal work forms and Exit.
#include "VETRA.h"
#include "dedetail.h"
#include "module1.h"
#include "store_error.h"
#include "temporary_register.h"

#include <QApplication>
#include <QDialog>
#include <QFileInfo>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// A data folder of the test's own, without a database until the window loads.
class MainWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        Module1::app_path = dir.path();
    }
    void TearDown() override {
        store::TemporaryRegister::close_all();
        Module1::app_path.clear();
    }

    static QStringList captions(const QMenu* menu) {
        QStringList texts;
        for (const QAction* item : menu->actions())
            texts << (item->isSeparator() ? "-" : item->text());
        return texts;
    }

    QTemporaryDir dir;
};

} // namespace

TEST_F(MainWindow, LoadOpensTheDatabaseInTheDataFolder) {
    EXPECT_EQ(Module1::db_conn.State(), store::adStateClosed);
    VETRA window;
    EXPECT_TRUE(QFileInfo::exists(dir.filePath("VETRA.mdb")));
    EXPECT_EQ(Module1::db_conn.State(), store::adStateOpen);
    EXPECT_EQ(DEDetail::Connection1.State(), store::adStateOpen);
}

TEST_F(MainWindow, ADatabaseThatCannotBeOpenedStopsTheLoad) {
    QFile file(dir.filePath("VETRA.mdb"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(8192, 'x'));
    file.close();
    EXPECT_THROW(VETRA window, store::StoreError);
    EXPECT_EQ(Module1::db_conn.State(), store::adStateClosed);
}

TEST_F(MainWindow, CaptionMenusAndItems) {
    VETRA window;
    window.show();
    EXPECT_EQ(window.windowTitle(), "Vetraplex");
    EXPECT_TRUE(window.windowState() & Qt::WindowMaximized);
    EXPECT_NE(window.mdi_area, nullptr);
    EXPECT_EQ(window.centralWidget(), window.mdi_area);

    const QList<QAction*> menus = window.menuBar()->actions();
    ASSERT_EQ(menus.size(), 2);
    EXPECT_EQ(menus[0]->menu(), window.mnu_Entry);
    EXPECT_EQ(menus[1]->menu(), window.mnu_reports);
    EXPECT_EQ(window.mnu_Entry->title(), "Forms");
    EXPECT_EQ(window.mnu_reports->title(), "Reports");
    EXPECT_EQ(captions(window.mnu_Entry),
              QStringList({"Case Detail", "Case Status Updation", "-", "Exit"}));
    EXPECT_EQ(captions(window.mnu_reports), QStringList({"List of Cases", "Consolidated Report"}));

    for (const char* name :
         {"mnuAddCase", "mnu_StatusUpdation", "Line1", "mnu_Exit", "mnu_list", "mnu_pendancy"})
        EXPECT_NE(window.findChild<QAction*>(name), nullptr) << name;
    // Items whose form is not attached cannot be chosen; Exit always can.
    EXPECT_FALSE(window.mnuAddCase->isEnabled());
    EXPECT_FALSE(window.mnu_pendancy->isEnabled());
    EXPECT_TRUE(window.mnu_Exit->isEnabled());
}

TEST_F(MainWindow, AnAttachedItemShowsAFreshFormModallyEachTime) {
    VETRA window;
    window.show();
    int made = 0;
    int destroyed = 0;
    window.attach_form(window.mnuAddCase, [&](QWidget* parent) {
        auto form = std::make_unique<QDialog>(parent);
        form->setObjectName(QStringLiteral("form%1").arg(++made));
        QObject::connect(form.get(), &QObject::destroyed, [&] { ++destroyed; });
        return form;
    });
    EXPECT_TRUE(window.mnuAddCase->isEnabled());

    for (int showing = 1; showing <= 2; ++showing) {
        QString seen;
        QTimer::singleShot(0, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            ASSERT_NE(modal, nullptr);
            seen = modal->objectName();
            EXPECT_EQ(modal->parentWidget(), &window);
            static_cast<QDialog*>(modal)->reject();
        });
        window.mnuAddCase->trigger(); // returns only when the form is closed
        EXPECT_EQ(seen, QStringLiteral("form%1").arg(showing));
        EXPECT_EQ(destroyed, showing); // unloaded when closed
    }
}

TEST_F(MainWindow, ExitEndsTheProgramAtOnce) {
    VETRA window;
    window.show();
    QTimer::singleShot(0, window.mnu_Exit, &QAction::trigger);
    QTimer::singleShot(5000, [] { QApplication::exit(99); }); // guard: Exit did nothing
    EXPECT_EQ(QApplication::exec(), 0);
}
