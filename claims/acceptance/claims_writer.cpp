// The program the fault tests run as child processes: claims_writer DIR TAG COUNT [PAUSE_US]
//
// Saves numbered_claim(TAG, 1..COUNT) (COUNT 0: until killed) into the register in DIR through the
// bill entry form as a clerk does (Add New Bill, the claim, SAVE, Yes). PAUSE_US makes each
// statement of a save wait first, as on a slow disk. It prints "ready" and waits for a line on its
// input; then "begin N" as claim N's insert is about to run, and "saved N REFNO" once the clerk is
// told it is saved (with " moved" when its proposed number was taken meanwhile). Any other
// outcome ends it with status 3, the box on standard error.
#include "../testing/lsan_suppressions.h"
#include "acceptance.h"

#include <QRegularExpression>
#include <cstdio>
#include <iostream>
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

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() != 4 && args.size() != 5)
        give_up("usage: claims_writer DIR TAG COUNT [PAUSE_US]");
    try {
        return save_claims(args[1], args[2], args[3].toInt(), args.value(4).toInt());
    } catch (const std::exception& e) {
        give_up(QString::fromLocal8Bit(e.what()));
    }
}
