// The program the fault tests run as child processes, in two modes.
//
//   claims_writer save DIR TAG COUNT [PAUSE_US]
//     Saves numbered_claim(TAG, 1..COUNT) (COUNT 0: until killed) into the register in DIR through
//     the bill entry form as a clerk does (Add New Bill, the claim, SAVE, Yes). PAUSE_US makes
//     each statement of a save wait first, as on a slow disk. It prints "ready" and waits for a
//     line on its input; then "begin N" as claim N's insert is about to run, and "saved N REFNO"
//     once the clerk is told it is saved (with " moved" when its proposed number was taken
//     meanwhile). Any other outcome ends it with status 3, the box on standard error.
//
//   claims_writer start [--as-user NAME] -- ARGUMENTS...
//     Runs the program's start with ARGUMENTS (optionally as the user NAME instead of root), signs
//     in, and chooses Exit once the main window opens. It prints every box shown as
//     "box TITLE: TEXT" (line breaks as "\n") and ends with the program's status.
#include "../testing/lsan_suppressions.h"
#include "acceptance.h"

#include <QRegularExpression>
#include <cstdio>
#include <grp.h>
#include <iostream>
#include <pwd.h>
#include <unistd.h>

namespace {

void say(const QString& line) {
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

[[noreturn]] void give_up(const QString& why) {
    std::fprintf(stderr, "claims_writer: %s\n", qPrintable(why));
    std::exit(3);
}

int save_claims(const QString& folder, const QString& tag, int count, int pause_us) {
    acceptance::open_register(folder);
    frmBillEntry form;
    form.show();
    vetra_testing::Clerk clerk(form);
    platform::DialogScript boxes([](const QString& fault) { give_up(fault); });
    int n = 0;
    Module1::db_conn.set_statement_hook([&n, pause_us](const QString& statement) {
        if (statement.startsWith("Insert into detail"))
            say(QStringLiteral("begin %1").arg(n));
        if (pause_us > 0 && Module1::db_conn.InTransaction())
            ::usleep(static_cast<useconds_t>(pause_us));
    });
    say("ready");
    std::string go;
    std::getline(std::cin, go);

    const QRegularExpression moved("saved under number (\\d+)");
    for (n = 1; count == 0 || n <= count; ++n) {
        clerk.click("cmd_addnew");
        const QString proposed = clerk.text("txt_refno");
        acceptance::enter_claim(clerk, acceptance::numbered_claim(tag, n), false);
        boxes.answer(platform::vbYes);
        clerk.click("cmd_save");
        const platform::ShownBox& outcome = boxes.shown().back();
        if (outcome.title != "Saved")
            give_up(QStringLiteral("claim %1: %2: %3").arg(n).arg(outcome.title, outcome.text));
        const QRegularExpressionMatch other = moved.match(outcome.text);
        say(QStringLiteral("saved %1 ").arg(n) +
            (other.hasMatch() ? other.captured(1) + " moved" : proposed));
        QCoreApplication::processEvents(); // let the closed lists and repaints settle
    }
    return 0;
}

void become(const char* user) {
    const passwd* account = ::getpwnam(user);
    if (account == nullptr || ::setgroups(0, nullptr) != 0 || ::setgid(account->pw_gid) != 0 ||
        ::setuid(account->pw_uid) != 0 || ::getuid() == 0)
        give_up(QStringLiteral("cannot become %1").arg(user));
}

int start_register(const QStringList& arguments) {
    platform::DialogScript boxes([](const QString& fault) { give_up(fault); });
    const acceptance::AwaitWindow<frmLogin> login(acceptance::sign_in,
                                                  [](const QString& fault) { give_up(fault); });
    // When the database cannot be opened the main window never comes: that is no fault here.
    const acceptance::AwaitWindow<VETRA> main_window(
        [](VETRA& window) { window.mnu_Exit->trigger(); }, [](const QString&) {});
    const int status = run_register(arguments);
    for (const platform::ShownBox& box : boxes.shown())
        say("box " + box.title + ": " + QString(box.text).replace('\n', "\\n"));
    return status;
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 3 && std::string(argv[1]) == "start" && std::string(argv[2]) == "--as-user")
        become(argv[3]);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments().mid(1);
    try {
        if ((args.size() == 4 || args.size() == 5) && args[0] == "save")
            return save_claims(args[1], args[2], args[3].toInt(), args.value(4).toInt());
        if (args.value(0) == "start" && args.contains("--"))
            return start_register(args.mid(args.indexOf("--") + 1));
    } catch (const std::exception& e) {
        give_up(QString::fromLocal8Bit(e.what()));
    }
    give_up("usage: claims_writer save DIR TAG COUNT [PAUSE_US] | "
            "start [--as-user NAME] -- ARGUMENTS...");
}
