// The main window: its Load, its menus, modal work forms and Exit.
#include "VETRA.h"
#include "module1.h"
#include "store_error.h"
#include "temporary_register.h"

#include <QApplication>
#include <QDialog>
#include <QMenuBar>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// Items stay off until their form is attached; an attached item shows a fresh form of its own,
// modally, each time; Exit ends the program; a file that is no database stops the Load.
TEST(MainWindow, MenusFormsExitAndAnUnusableFile) {
    store::TemporaryRegister reg;
    {
        VETRA window;
        window.show();
        QStringList items;
        for (const QAction* menu : window.menuBar()->actions())
            for (const QAction* item : menu->menu()->actions())
                items << menu->text() + ">" + item->text() + (item->isEnabled() ? "" : "(off)");
        EXPECT_EQ(
            items,
            QStringList({"Forms>Case Detail(off)", "Forms>Case Status Updation(off)", "Forms>",
                         "Forms>Exit", "Forms>", "Forms>Find Claim(off)",
                         "Forms>Claim History(off)", "Reports>List of Cases(off)",
                         "Reports>Consolidated Report(off)", "Register>Back Up Register...(off)",
                         "Register>Restore Register...(off)", "Register>Backups...(off)"}));
        int made = 0;
        window.attach_form(window.mnuAddCase, [&](QWidget* parent) {
            auto form = std::make_unique<QDialog>(parent);
            form->setObjectName(QString::number(++made));
            return form;
        });
        for (int showing = 1; showing <= 2; ++showing) {
            QString seen;
            QTimer::singleShot(0, [&] {
                auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
                seen = modal->objectName() + (modal->parentWidget() == &window ? "" : " unowned");
                modal->reject();
            });
            window.mnuAddCase->trigger(); // returns only when the form is closed
            EXPECT_EQ(seen, QString::number(showing));
        }
        QTimer::singleShot(0, window.mnu_Exit, &QAction::trigger);
        QTimer::singleShot(5000, [] { QApplication::exit(99); }); // Exit did nothing
        EXPECT_EQ(QApplication::exec(), 0);
    }
    store::TemporaryRegister::close_all();
    QFile(reg.database_path()).open(QIODevice::WriteOnly | QIODevice::Truncate);
    EXPECT_THROW(VETRA window, store::StoreError);
    EXPECT_EQ(Module1::db_conn.State(), store::adStateClosed);
}

} // namespace
