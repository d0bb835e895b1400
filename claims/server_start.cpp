// Choosing, making, filling and reaching the register's server.
#include "server_start.h"

#include "connection.h"
#include "connection_string.h"
#include "dialogs.h"
#include "module1.h"
#include "schema.h"
#include "server_register.h"
#include "store_error.h"

#include <QAction>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <termios.h>
#include <unistd.h>

namespace server_start {
namespace {

void say(const QString& line) {
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

int fail(const QString& what, const QString& server, const store::StoreError& e) {
    std::fprintf(stderr, "vetra: %s on the server %s: %s\n", qPrintable(what),
                 qPrintable(store::server_name(server)), qPrintable(e.reason()));
    return 1;
}

// The password the server asks for, typed into a box that shows no character of it; nothing
// when the clerk cancels.
std::optional<QString> ask_password(const QString& server) {
    QDialog dialog;
    dialog.setObjectName("dlg_server_password");
    dialog.setWindowTitle("Database Password");
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel("The server " + store::server_name(server) +
                                 " asks for the password of your database account."));
    auto* password = new QLineEdit;
    password->setObjectName("txt_server_password");
    password->setEchoMode(QLineEdit::Password);
    layout->addWidget(password);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("cmd_ok");
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("cmd_cancel");
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return password->text();
}

// The password read from the terminal with echo off; nothing without a terminal.
std::optional<QString> read_password(const QString& server) {
    if (::isatty(STDIN_FILENO) == 0)
        return std::nullopt;
    std::fprintf(stderr, "Password for the server %s: ", qPrintable(store::server_name(server)));
    termios shown{};
    ::tcgetattr(STDIN_FILENO, &shown);
    termios hidden = shown;
    hidden.c_lflag &= ~tcflag_t(ECHO);
    ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &hidden);
    std::string line;
    std::getline(std::cin, line);
    ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &shown);
    std::fputc('\n', stderr);
    return QString::fromStdString(line);
}

// Opens `connection` on the server for a terminal command, asking for the password once when the
// server wants one.
void open_from_terminal(store::Connection& connection, const QString& server) {
    try {
        connection.Open(server);
    } catch (const store::StoreError& e) {
        std::optional<QString> password;
        if (e.engine_code() != store::kServerWantsPassword || !(password = read_password(server)))
            throw;
        connection.Open(server, {}, *password);
    }
}

} // namespace

QString chosen_server(const QString& option_value) {
    if (!option_value.isEmpty())
        return option_value;
    return QSettings().value(kServerSetting).toString();
}

int create_register(const QString& server) {
    try {
        store::Connection connection;
        open_from_terminal(connection, server);
        store::create_server_register(connection);
    } catch (const store::StoreError& e) {
        return fail("no register was created", server, e);
    }
    say("vetra: the register was created on the server " + store::server_name(server) +
        QStringLiteral(". Grant each clerk's role %1 to let it work on it.")
            .arg(store::kClerkRole));
    return 0;
}

int copy_register(const QString& file, const QString& server) {
    std::int64_t copied = 0;
    try {
        if (!QFileInfo(file).isFile())
            throw store::StoreError("there is no register file " + file);
        store::Connection source;
        source.set_open_check([](store::Connection& opened) {
            store::check_claims_schema(opened);
            if (opened.ReadNumber("PRAGMA user_version") != store::kSchemaVersion)
                throw store::StoreError("the file has an older layout: open it once with this "
                                        "program, which brings it up to date, then copy it");
        });
        source.Open(
            "Data Source=" + store::connection_string_value(QFileInfo(file).absoluteFilePath()) +
            ";Jet OLEDB:Database Password=" + Module1::kDatabasePassword);
        store::Connection target;
        target.set_open_check(store::check_server_register);
        open_from_terminal(target, server);
        std::int64_t shown = -1;
        copied = store::copy_register(source, target, [&](std::int64_t done, std::int64_t total) {
            // A line per tenth, so a large file shows it is moving.
            if (total > 0 && done * 10 / total != shown) {
                shown = done * 10 / total;
                say(QStringLiteral("vetra: %1 of %2 claims copied").arg(done).arg(total));
            }
        });
    } catch (const store::StoreError& e) {
        return fail("the register " + file + " was not copied", server, e);
    }
    say(QStringLiteral("vetra: %1 claims copied to the server %2; both hold the same claims")
            .arg(copied)
            .arg(store::server_name(server)));
    return 0;
}

bool reach_server() {
    for (;;) {
        try {
            store::Connection probe;
            probe.Open(Module1::server, {}, Module1::server_password);
            return true;
        } catch (const store::StoreError& e) {
            if (e.engine_code() != store::kServerWantsPassword) {
                tell_cannot_open(e.reason());
                return false;
            }
            const std::optional<QString> typed = ask_password(Module1::server);
            if (!typed)
                return false;
            Module1::server_password = *typed;
        }
    }
}

void tell_cannot_open(const QString& reason) {
    platform::MsgBox("The register on the server " + Module1::register_name() +
                         " cannot be opened: " + reason,
                     platform::MsgBoxStyle::Information, "Database Error");
}

void explain_backups(QAction* back_up, QAction* restore, QAction* list) {
    for (QAction* item : {back_up, restore, list}) {
        item->setEnabled(false);
        item->setToolTip("The register is on a database server: the server's own backups "
                         "(pg_dump) hold the claims.");
        for (QObject* menu = item->parent(); menu != nullptr; menu = menu->parent())
            if (auto* shown = qobject_cast<QMenu*>(menu))
                shown->setToolTipsVisible(true);
    }
}

} // namespace server_start
