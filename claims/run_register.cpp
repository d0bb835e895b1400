// The register's start: data folder, sign-in, main window, forms, event loop.
#include "run_register.h"

#include "VETRA.h"
#include "backup/register_menu.h"
#include "data_folder.h"
#include "dialogs.h"
#include "frmBillEntry.h"
#include "frmBillUpdation.h"
#include "frmFindClaim.h"
#include "frmLogin.h"
#include "module1.h"
#include "reports/RptPendancy.h"
#include "reports/frmreport.h"
#include "store_error.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QStandardPaths>

int run_register(const QStringList& arguments) {
    QApplication::setApplicationName("Vetraplex");

    QCommandLineParser parser;
    parser.setApplicationDescription("Vetraplex, the medical-reimbursement claims register.");
    parser.addHelpOption();
    const QCommandLineOption data_dir("data-dir", "Keep the database VETRA.mdb in DIR.", "DIR");
    parser.addOption(data_dir);
    parser.process(arguments);

    Module1::app_path = store::choose_data_folder(
        QCoreApplication::applicationDirPath(), parser.value(data_dir),
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    QDir().mkpath(Module1::app_path);

    frmLogin login;
    if (login.exec() != QDialog::Accepted)
        return 0;

    backup::set_aside_stray_journal_at_start(Module1::database_path(), Module1::kDatabasePassword);
    std::unique_ptr<VETRA> main_window;
    try {
        main_window = std::make_unique<VETRA>();
    } catch (const store::StoreError& e) {
        platform::MsgBox("The database " + QDir::toNativeSeparators(Module1::database_path()) +
                             " cannot be opened: " + e.reason(),
                         platform::MsgBoxStyle::Information, "Database Error");
        return 1;
    }
    main_window->attach_form(main_window->mnu_StatusUpdation, [](QWidget* parent) {
        return std::make_unique<frmBillUpdation>(parent);
    });
    main_window->attach_form(main_window->mnu_pendancy,
                             [](QWidget* parent) { return std::make_unique<RptPendancy>(parent); });
    main_window->attach_form(main_window->mnu_list,
                             [](QWidget* parent) { return std::make_unique<frmreport>(parent); });
    main_window->attach_form(main_window->mnuAddCase, [](QWidget* parent) {
        return std::make_unique<frmBillEntry>(parent);
    });
    main_window->attach_form(main_window->mnu_find, [](QWidget* parent) {
        return std::make_unique<frmFindClaim>(parent);
    });
    backup::FileRegister file;
    backup::RegisterMenu backups(*main_window, file, &QDateTime::currentDateTime);
    backups.attach(main_window->mnu_backup, main_window->mnu_restore, main_window->mnu_backups);
    main_window->show();
    backups.back_up_at_start();
    const int status = QApplication::exec();
    main_window.reset(); // the copy at exit is taken once the window is gone
    backups.back_up_at_exit();
    return status;
}
