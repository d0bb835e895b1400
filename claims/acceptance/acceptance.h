// What the acceptance tests share: a claim as the clerk enters it and the row it must become, the
// register read back, and windows awaited while the action that opened them blocks.
#pragma once

#include "VETRA.h"
#include "clerk.h"
#include "dialogs.h"
#include "field_value.h"
#include "frmBillEntry.h"
#include "frmLogin.h"
#include "module1.h"
#include "run_register.h"
#include "test_server.h"

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <ostream>

// Failure messages show stored values and Qt texts as text.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
namespace store {
inline void PrintTo(const FieldValue& value, std::ostream* out) {
    *out << '"' << value.text().toStdString() << '"';
}
} // namespace store

namespace acceptance {

inline void fail(const QString& fault) {
    ADD_FAILURE() << fault.toStdString();
}

// Control name to what the clerk types or chooses there (dates as yyyy-MM-dd). The dependent's
// income and the health department's amount are entered only when the claim's choices ask.
using Claim = std::map<QString, QString>;
// Column name to stored value.
using Row = std::map<QString, store::FieldValue>;

// Claim n of `tag`: each text names both ("empname A-17"), so a stored row tells whose it is.
Claim numbered_claim(const QString& tag, int n);
// The row a new claim entered as `claim` must be: amounts without commas, empty boxes as "-".
Row saved_row(const Claim& claim, std::int64_t refno);
// The row that a row saved from a numbered claim must be; its own name says which claim it is.
Row numbered_row(const Row& row);
// Enters a claim on the bill entry form: every text typed key by key, or for the savers of
// hundreds of claims, texts and dates set at once (lists are always chosen from).
void enter_claim(vetra_testing::Clerk& clerk, const Claim& claim, bool key_by_key);

// Signs in on the sign-in window as the clerk does, with a blank or two around the login.
void sign_in(frmLogin& window);
// Opens the register in `folder` (or on the server a connection string names) as the program's
// start does, after closing everything shared.
void open_register(const QString& folder);
// The rows of a statement (the detail rows: without the row id).
std::vector<Row> rows(const QString& statement = "Select * from detail order by refno");
std::int64_t refno(const Row& row);
// The engine's integrity check of the open register: "ok" for a sound file.
QString integrity();

// A test on a register file and on a register on the tests' server: `data` is where it lies.
class OnBoth : public ::testing::TestWithParam<store::Backend> {
protected:
    store::RegisterPlace data{GetParam()};
};
inline std::string backend_name(const ::testing::TestParamInfo<store::Backend>& info) {
    return info.param == store::Backend::File ? "File" : "Server";
}
inline const auto kBoth = ::testing::Values(store::Backend::File, store::Backend::Server);

// Runs `work` on a `Window` that a blocking action about to start opens, while the action
// blocks. A window that does not open within a minute, or a modal one that `work` leaves open,
// is a test failure and is closed, so nothing ever waits for a person.
template <typename Window> class AwaitWindow {
public:
    explicit AwaitWindow(std::function<void(Window&)> work) {
        QObject::connect(&timer_, &QTimer::timeout, [this, work] {
            for (QWidget* top : QApplication::topLevelWidgets()) {
                const QPointer<Window> window = qobject_cast<Window*>(top);
                if (window.isNull() || !window->isVisible())
                    continue;
                timer_.stop(); // the work runs event loops of its own
                work(*window);
                if (window && window->isVisible() && window->isModal()) {
                    fail("the window was left open");
                    window->close();
                }
                return;
            }
            if (++polls_ < 6000)
                return;
            timer_.stop();
            fail("the awaited window did not open within a minute");
            if (QWidget* modal = QApplication::activeModalWidget())
                modal->close();
        });
        timer_.start(10);
    }

private:
    QTimer timer_;
    int polls_ = 0;
};

} // namespace acceptance
