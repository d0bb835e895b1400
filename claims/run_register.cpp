// The register's start: data folder, sign-in, main window, forms, event loop.
#include "run_register.h"

#include "VETRA.h"
#include "backup/register_menu.h"
#include "data_folder.h"
#include "desktop.h"
#include "dialogs.h"
#include "frmBillEntry.h"
#include "frmBillUpdation.h"
#include "frmClaimHistory.h"
#include "frmFindClaim.h"
#include "frmLogin.h"
#include "module1.h"
#include "reports/RptPendancy.h"
#include "reports/frmreport.h"
#include "server_start.h"
#include "store_error.h"
#include "vetra_version.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QStandardPaths>
#include <QStatusBar>
#include <algorithm>
#include <cstdio>
#include <optional>

namespace {

constexpr char kUsage[] = "usage: vetra [--data-dir DIR | --server URL]\n"
                          "       vetra --server URL --create-register\n"
                          "       vetra --copy-register FILE --server URL\n"
                          "       vetra --help | --version\n"
                          "Vetraplex, the medical-reimbursement claims register.\n"
                          "  --data-dir DIR        keep the register VETRA.mdb in DIR\n"
                          "  --server URL          work on the register of a PostgreSQL server\n"
                          "                        (a libpq URI or connection string)\n"
                          "  --create-register     make the register in the server's database\n"
                          "  --copy-register FILE  copy the register file FILE to the server\n";

struct CommandLine {
    QCommandLineParser parser;
    QCommandLineOption data_dir{"data-dir", "", "DIR"};
    QCommandLineOption help{QStringList{"h", "help"}};
    QCommandLineOption version{"version"};
    QCommandLineOption server{"server", "", "URL"};
    QCommandLineOption create_register{"create-register"};
    QCommandLineOption copy_register{"copy-register", "", "FILE"};

    explicit CommandLine(const QStringList& arguments) {
        parser.addOptions({data_dir, help, version, server, create_register, copy_register});
        ok = parser.parse(arguments);
    }
    bool ok = false;
};

// A program whose folder is a system one was installed: it never writes beside itself, whoever
// runs it (root may write to /usr/bin).
bool installed(const QString& program_folder) {
    const QString folder = QDir::cleanPath(program_folder);
    return folder == "/usr/bin" || folder == "/usr/local/bin" || folder == VETRA_INSTALLED_BINDIR;
}

// The sign-in window's last line names the register file, so that nobody types claims into the
// wrong one unawares; its specified caption and controls stay as they are.
void name_register_file(QDialog& login) {
    auto* line = new QLabel("Register: " + Module1::register_name());
    line->setObjectName("lbl_register_file");
    line->setTextInteractionFlags(Qt::TextSelectableByMouse);
    if (login.layout() != nullptr)
        login.layout()->addWidget(line);
}

// Options the application object takes for itself (and removes) before run_register sees them.
bool qt_option(const QString& name) {
    static const QStringList names{"platform",
                                   "platformpluginpath",
                                   "platformtheme",
                                   "plugin",
                                   "qwindowgeometry",
                                   "qwindowicon",
                                   "qwindowtitle",
                                   "reverse",
                                   "session",
                                   "style",
                                   "stylesheet",
                                   "widgetcount",
                                   "display",
                                   "geometry",
                                   "title",
                                   "name",
                                   "visual",
                                   "ncols",
                                   "cmap",
                                   "im",
                                   "dialogs",
                                   "fontengine",
                                   "nograb",
                                   "dograb",
                                   "sync",
                                   "qmljsdebugger"};
    return names.contains(name);
}

int refuse(const CommandLine& line) {
    std::fprintf(stderr, "vetra: %s\n%s", qPrintable(line.parser.errorText()), kUsage);
    return 2;
}

} // namespace

std::optional<int> answer_help_or_version(const QStringList& arguments) {
    const CommandLine line(arguments);
    const QStringList unknown = line.parser.unknownOptionNames();
    if (!line.ok && std::none_of(unknown.begin(), unknown.end(), qt_option))
        return refuse(line);
    if (line.ok && line.parser.isSet(line.help)) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (line.ok && line.parser.isSet(line.version)) {
        std::printf("vetra %s\n", kVetraVersion);
        return 0;
    }
    return std::nullopt;
}

int run_register(const QStringList& arguments) {
    QApplication::setApplicationName("Vetraplex");
    // Per-user settings in ~/.config/Vetraplex/Vetraplex.conf (without an organization, Qt files
    // them under "Unknown Organization").
    QApplication::setOrganizationName("Vetraplex");
    QApplication::setApplicationVersion(kVetraVersion);
    if (const auto answered = answer_help_or_version(arguments))
        return *answered;
    const CommandLine line(arguments);
    if (!line.ok)
        return refuse(line);
    Module1::server = server_start::chosen_server(line.parser.value(line.server));
    if (line.parser.isSet(line.create_register) || line.parser.isSet(line.copy_register)) {
        if (Module1::server.isEmpty()) {
            std::fprintf(stderr, "vetra: name the server with --server URL\n%s", kUsage);
            return 2;
        }
        return line.parser.isSet(line.copy_register)
                   ? server_start::copy_register(line.parser.value(line.copy_register),
                                                 Module1::server)
                   : server_start::create_register(Module1::server);
    }
    const bool on_server = !Module1::server.isEmpty();

    // ~/.local/share/Vetraplex, as before the organization was named (which adds a level).
    const QString per_user =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/Vetraplex";
    const QString program_folder = QCoreApplication::applicationDirPath();
    Module1::app_path =
        store::choose_data_folder(installed(program_folder) ? per_user : program_folder,
                                  line.parser.value(line.data_dir), per_user);
    if (!on_server && !QFileInfo::exists(Module1::database_path()) &&
        !desktop::agree_to_new_register(Module1::database_path()))
        return 0;
    if (!on_server)
        QDir().mkpath(Module1::app_path);

    desktop::remember_window_places();
    frmLogin login;
    name_register_file(login);
    if (login.exec() != QDialog::Accepted)
        return 0;

    if (on_server && !server_start::reach_server())
        return 1;
    if (!on_server)
        backup::set_aside_stray_journal_at_start(Module1::database_path(),
                                                 Module1::kDatabasePassword);
    std::unique_ptr<VETRA> main_window;
    try {
        main_window = std::make_unique<VETRA>();
    } catch (const store::StoreError& e) {
        if (on_server) {
            server_start::tell_cannot_open(e.reason());
            return 1;
        }
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
    main_window->attach_form(main_window->mnu_history, [](QWidget* parent) {
        return std::make_unique<frmClaimHistory>(parent);
    });
    backup::FileRegister file;
    std::optional<backup::RegisterMenu> backups;
    if (on_server) {
        server_start::explain_backups(main_window->mnu_backup, main_window->mnu_restore,
                                      main_window->mnu_backups);
    } else {
        backups.emplace(*main_window, file, &QDateTime::currentDateTime);
        backups->attach(main_window->mnu_backup, main_window->mnu_restore,
                        main_window->mnu_backups);
    }
    desktop::add_help_menu(*main_window);
    main_window->statusBar()->addPermanentWidget(
        new QLabel("Register: " + Module1::register_name()));
    main_window->show();
    if (backups)
        backups->back_up_at_start();
    const int status = QApplication::exec();
    main_window.reset(); // the copy at exit is taken once the window is gone
    if (backups)
        backups->back_up_at_exit();
    return status;
}
