// The program the fault tests run as child processes, in two modes.
//
//   claims_writer save DIR TAG COUNT [PAUSE_US]
//     Opens the register in DIR as the program does and saves claims through the bill entry form,
//     exactly as a clerk: Add New Bill, the claim entered, SAVE, Yes. Claim n is
//     numbered_claim(TAG, n); COUNT 0 saves until the process is killed. PAUSE_US makes each
//     statement of a save's transaction wait that long first, as a slow disk would. It prints
//     "ready", waits for a line on its input, then for each claim "begin N" when the save's first
//     statement is about to run and "saved N REFNO" once the clerk is told it is saved ("saved N
//     REFNO moved" when the proposed number was taken meanwhile and the claim took REFNO instead).
//     Any other outcome of a save is printed as "failed N: TITLE: TEXT" and ends the program with
//     status 2.
//
//   claims_writer start [--as-user NAME] -- ARGUMENTS...
//     Starts the register itself with ARGUMENTS (the program's name first), as `vetra` does,
//     optionally as the user NAME instead of root. It signs in as a clerk would, and when the main
//     window opens it chooses Exit. Every box shown is printed as "box TITLE: TEXT" (a line break
//     in TEXT as "\\n"); the exit
//     status is the program's.
#include "../testing/lsan_suppressions.h"
#include "VETRA.h"
#include "await_window.h"
#include "claim_entries.h"
#include "clerk.h"
#include "dialogs.h"
#include "frmBillEntry.h"
#include "frmLogin.h"
#include "module1.h"
#include "run_register.h"

#include <QApplication>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTest>
#include <cstdio>
#include <grp.h>
#include <iostream>
#include <pwd.h>
#include <string>
#include <unistd.h>

namespace {

using acceptance::Clerk;

void say(const QString& line) {
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

[[noreturn]] void give_up(const QString& why) {
    std::fprintf(stderr, "claims_writer: %s\n", qPrintable(why));
    std::exit(3);
}

int save_claims(const QString& folder, const QString& tag, int count, int pause_us) {
    Module1::app_path = folder;
    Module1::open_database();
    frmBillEntry form;
    form.show();
    Clerk clerk(form);
    platform::DialogScript boxes([](const QString& fault) { give_up(fault); });

    int n = 0;
    Module1::db_conn.set_statement_hook([&n, pause_us](const QString& statement) {
        if (statement.startsWith("Insert into detail"))
            say(QStringLiteral("begin %1").arg(n));
        if (pause_us > 0 && Module1::db_conn.InTransaction())
            ::usleep(useconds_t(pause_us));
    });
    say("ready");
    std::string go;
    std::getline(std::cin, go);

    const QRegularExpression moved("saved under number (\\d+)");
    for (n = 1; count == 0 || n <= count; ++n) {
        clerk.click("cmd_addnew");
        const QString proposed = clerk.text("txt_refno");
        fill_claim(clerk, acceptance::numbered_claim(tag, n));
        boxes.answer(platform::vbYes);
        clerk.click("cmd_save");
        const platform::ShownBox& outcome = boxes.shown().back();
        if (outcome.title != "Saved") {
            say(QStringLiteral("failed %1: %2: %3").arg(n).arg(outcome.title, outcome.text));
            return 2;
        }
        const QRegularExpressionMatch other_number = moved.match(outcome.text);
        say(other_number.hasMatch()
                ? QStringLiteral("saved %1 %2 moved").arg(n).arg(other_number.captured(1))
                : QStringLiteral("saved %1 %2").arg(n).arg(proposed));
        boxes.clear_shown();
        QCoreApplication::processEvents(); // let the closed lists and repaints settle
    }
    return 0;
}

void become(const QString& user) {
    const passwd* account = ::getpwnam(user.toLocal8Bit().constData());
    if (account == nullptr)
        give_up("no user " + user);
    if (::setgroups(0, nullptr) != 0 || ::setgid(account->pw_gid) != 0 ||
        ::setuid(account->pw_uid) != 0 || ::getuid() == 0)
        give_up("cannot become " + user);
}

int start_register(const QStringList& arguments) {
    platform::DialogScript boxes([](const QString& fault) { give_up(fault); });
    const acceptance::AwaitWindow sign_in(
        [] { return acceptance::active_modal<frmLogin>(); },
        [](QWidget& login) {
            Clerk clerk(login);
            clerk.type("txt_uid", "KROVE");
            clerk.type("txt_pass", "739");
            QTest::keyClick(clerk.find<QLineEdit>("txt_pass"), Qt::Key_Return);
        },
        [](const QString& fault) { give_up("sign-in: " + fault); });
    // When the database cannot be opened the main window never comes: that is no fault here.
    const acceptance::AwaitWindow main_window(
        [] { return acceptance::showing_window<VETRA>(); },
        [](QWidget& window) { static_cast<VETRA&>(window).mnu_Exit->trigger(); },
        [](const QString&) {});
    const int status = run_register(arguments);
    for (const platform::ShownBox& box : boxes.shown())
        say("box " + box.title + ": " + QString(box.text).replace('\n', "\\n"));
    return status;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> words(argv + 1, argv + argc);
    const bool as_user = words.size() >= 4 && words[0] == "start" && words[1] == "--as-user";
    if (as_user)
        become(QString::fromStdString(words[2]));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments().mid(1);
    try {
        if ((args.size() == 4 || args.size() == 5) && args[0] == "save")
            return save_claims(args[1], args[2], args[3].toInt(), args.value(4).toInt());
        const qsizetype separator = args.indexOf("--");
        if (!args.isEmpty() && args[0] == "start" && separator > 0)
            return start_register(args.mid(separator + 1));
    } catch (const std::exception& e) {
        give_up(QString::fromLocal8Bit(e.what()));
    }
    give_up("usage: claims_writer save DIR TAG COUNT [PAUSE_US] | "
            "start [--as-user NAME] -- ARGUMENTS...");
}
