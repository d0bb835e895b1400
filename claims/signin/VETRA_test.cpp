// The main window: its Load, its menus, modal work forms and Exit.
#include "VETRA.h"
#include "module1.h"
#include "store_error.h"
#include "temporary_register.h"

#include <QApplication>
#include <QDialog>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

TEST(MainWindow, LoadOpensTheDatabaseOrStops) {
    QTemporaryDir dir;
    Module1::app_path = dir.path();
    QFile(dir.filePath("VETRA.mdb")).open(QIODevice::WriteOnly); // empty: not a database
    EXPECT_THROW(VETRA window, store::StoreError);
    QFile::remove(dir.filePath("VETRA.mdb"));
    {
        VETRA window;
        EXPECT_EQ(Module1::db_conn.State(), store::adStateOpen);
        QStringList items;
        for (const QAction* menu : window.menuBar()->actions())
            for (const QAction* item : menu->menu()->actions())
                items << menu->text() + ">" + item->text() + (item->isEnabled() ? "" : "(off)");
        EXPECT_EQ(items, QStringList({"Forms>Case Detail(off)", "Forms>Case Status Updation(off)",
                                      "Forms>", "Forms>Exit", "Reports>List of Cases(off)",
                                      "Reports>Consolidated Report(off)"}));
    }
    store::TemporaryRegister::close_all();
    Module1::app_path.clear();
}

TEST(MainWindow, AnItemShowsAFreshFormModallyAndExitEndsTheProgram) {
    store::TemporaryRegister reg;
    VETRA window;
    window.show();
    int made = 0, destroyed = 0;
    window.attach_form(window.mnuAddCase, [&](QWidget* parent) {
        auto form = std::make_unique<QDialog>(parent);
        form->setObjectName(QString::number(++made));
        QObject::connect(form.get(), &QObject::destroyed, [&] { ++destroyed; });
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
        EXPECT_EQ(destroyed, showing);
    }
    QTimer::singleShot(0, window.findChild<QAction*>("mnu_Exit"), &QAction::trigger);
    QTimer::singleShot(5000, [] { QApplication::exit(99); }); // Exit did nothing
    EXPECT_EQ(QApplication::exec(), 0);
}

} // namespace
