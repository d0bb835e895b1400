// "Claim History": a reference number typed, the claim's changes shown newest first (one line per
// change, under it the fields that changed with their values before and after), printed or
// exported through the report viewer, and a deleted claim put back under its old number.
#pragma once

#include "claim_history.h"

#include <QDialog>

class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace reports {
class TabularReport;
}

class frmClaimHistory : public QDialog {
    Q_OBJECT

public:
    explicit frmClaimHistory(QWidget* parent = nullptr);

    // The shown history as a list report: a line per changed field, the change's time, who and
    // what on its first line.
    static void fill_report(reports::TabularReport& report, qint64 refno,
                            const std::vector<history::Change>& changes);

private:
    void cmd_show_Click();
    void cmd_print_Click();
    void cmd_restore_Click();
    void show_history(qint64 refno);

    QLineEdit* const txt_refno;
    QPushButton* const cmd_show;
    QTreeWidget* const lst_history;
    QPushButton* const cmd_print;
    QPushButton* const cmd_restore;
    QPushButton* const cmd_close;
    qint64 shown_refno_ = 0;
    std::vector<history::Change> shown_;
};
