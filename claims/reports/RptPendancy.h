// The consolidated report form: for the period between its two dates, both days included, "Show
// Detail" counts the claims of every district of the `districts` table (total, sanctioned,
// rejected, pending) into the grid, one line per district in name order and a last line for the
// whole state, which counts every claim of the period whatever its district. "Report" copies the
// grid into `preport`, all lines or none, and prints it through DRPendancy under the period that
// was counted, whatever the dates show by then.
//
// The grid always holds either the headings alone (after loading, or after a count that a
// database error interrupted) or the headings and a complete count. While counting the wait
// cursor shows, and a progress window once the count has run longer than the progress delay.
// A database error is reported in a "Database Error" box with the engine's reason; the dates are
// kept.
#pragma once

#include "reports/flex_grid.h"

#include <QDate>
#include <QDialog>
#include <array>
#include <memory>

namespace Ui {
class RptPendancy;
}
class QDateEdit;
class QPushButton;

class RptPendancy : public QDialog {
    Q_OBJECT

public:
    explicit RptPendancy(QWidget* parent = nullptr);
    ~RptPendancy() override;

    QDateEdit* txt_from() const;
    QDateEdit* txt_to() const;
    reports::FlexGrid& GRD() { return grid_; }
    QPushButton* cmd_show() const;

public slots:
    void cmd_show_Click();
    void cmd_print_Click();
    void cmd_close_Click();

private:
    void Form_Load();
    void set_grid_heads();
    void countDistricts();
    void add_state_total();
    // Runs the four counting statements (total, sanctioned, rejected, pending) into columns 2 to
    // 5 of line `row_no`.
    void fillCounts(const std::array<QString, 4>& statements);
    void fillPreport();
    // The reference-date condition of every count: "refdate between #from# and #to#".
    QString period() const;

    std::unique_ptr<Ui::RptPendancy> ui;
    reports::FlexGrid grid_;
    int row_no = 0; // the grid line the next district goes to
    // The period of the grid's count, kept for the report: the dates may change after the count.
    QDate countedFrom_;
    QDate countedTo_;
};
