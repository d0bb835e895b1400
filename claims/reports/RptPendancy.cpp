// Counting, the state total line, the preport refill and the printed report.
#include "reports/RptPendancy.h"

#include "database_error.h"
#include "dedetail.h"
#include "dialogs.h"
#include "module1.h"
#include "reports/DRPendancy.h"
#include "reports/twips.h"
#include "reports/wait_cursor.h"
#include "store_error.h"
#include "ui_RptPendancy.h"
#include "values.h"

#include <QProgressDialog>
#include <QScreen>

using Module1::db_conn;
using Module1::rs_aux;
using Module1::rs_main;
using Module1::sql_text;
using platform::MsgBox;
using platform::MsgBoxStyle;

namespace {

// The form stands this far from the screen's left and top edges.
constexpr int kFormOffsetTwips = 1000;

struct GridColumn {
    const char* heading;
    int width; // twips
    Qt::Alignment alignment;
};

constexpr GridColumn kGridColumns[] = {
    {"Sr.No.", 1000, Qt::AlignCenter},   {"District", 2500, Qt::AlignLeft | Qt::AlignTop},
    {"Total", 1500, Qt::AlignCenter},    {"Sactioned", 1500, Qt::AlignCenter},
    {"Rejected", 1500, Qt::AlignCenter}, {"Pending", 1500, Qt::AlignCenter},
};

// The four counts of one district, as the clerk's statements always read (the pending count
// has no blank before "and").
std::array<QString, 4> district_statements(const QString& name, const QString& period) {
    const QString district = "Select count(*) from detail where odist=" + store::text_literal(name);
    return {district + " and " + period, district + " and billstatus='Sanctioned' and " + period,
            district + " and billstatus='Rejected' and " + period,
            district + " and billstatus='Pending'and " + period};
}

// The four counts over every claim of the period (the total count ends in a blank).
std::array<QString, 4> state_statements(const QString& period) {
    const QString status = "Select count(*) from detail where billstatus=";
    return {"Select count(*) from detail where " + period + " ",
            status + "'Sanctioned' and " + period, status + "'Rejected' and " + period,
            status + "'Pending' and " + period};
}

// Feedback while a count runs: the wait cursor at once, and a window naming the district being
// counted once the count has run longer than the delay. Both go when the count ends, however
// it ends.
class CountProgress {
public:
    CountProgress(QWidget* form, int districts, int delay_ms)
        : districts_(districts), window_(form) {
        window_.setObjectName("countProgress");
        window_.setWindowTitle(form->windowTitle());
        window_.setCancelButton(nullptr);
        window_.setWindowModality(Qt::WindowModal);
        window_.setAutoReset(false);
        window_.setAutoClose(false);
        window_.setRange(0, districts + 1);
        window_.setMinimumDuration(delay_ms);
        window_.setValue(0); // the clock starts here
    }

    void district(int n) {
        window_.setLabelText(QStringLiteral("District %1 of %2").arg(n).arg(districts_));
        window_.setValue(n);
    }

    void state_total() {
        window_.setLabelText(QStringLiteral("State total"));
        window_.setValue(districts_ + 1);
    }

private:
    reports::WaitCursor wait_;
    int districts_;
    QProgressDialog window_;
};

} // namespace

RptPendancy::RptPendancy(QWidget* parent)
    : QDialog(parent), ui([this] {
          auto form = std::make_unique<Ui::RptPendancy>();
          form->setupUi(this);
          return form;
      }()),
      grid_(ui->GRD) {
    for (QDateEdit* picker : {ui->txt_from, ui->txt_to})
        picker->setLocale(QLocale::c());
    connect(ui->cmd_show, &QPushButton::clicked, this, &RptPendancy::cmd_show_Click);
    connect(ui->cmd_print, &QPushButton::clicked, this, &RptPendancy::cmd_print_Click);
    connect(ui->cmd_close, &QPushButton::clicked, this, &RptPendancy::cmd_close_Click);
    Form_Load();
}

RptPendancy::~RptPendancy() = default;

QDateEdit* RptPendancy::txt_from() const {
    return ui->txt_from;
}
QDateEdit* RptPendancy::txt_to() const {
    return ui->txt_to;
}
QPushButton* RptPendancy::cmd_show() const {
    return ui->cmd_show;
}
QPushButton* RptPendancy::cmd_print() const {
    return ui->cmd_print;
}
QPushButton* RptPendancy::cmd_close() const {
    return ui->cmd_close;
}

void RptPendancy::Form_Load() {
    if (const QScreen* screen = this->screen()) {
        const QPoint offset(reports::toPixels(kFormOffsetTwips, screen->logicalDotsPerInchX()),
                            reports::toPixels(kFormOffsetTwips, screen->logicalDotsPerInchY()));
        move(screen->geometry().topLeft() + offset);
    }
    ui->txt_from->setDate(QDate::currentDate());
    ui->txt_to->setDate(QDate::currentDate());
    set_grid_heads();
}

void RptPendancy::set_grid_heads() {
    grid_.setRows(1);
    grid_.setCols(int(std::size(kGridColumns)));
    for (int col = 0; col < grid_.Cols(); ++col) {
        const GridColumn& column = kGridColumns[col];
        grid_.setColWidth(col, column.width);
        grid_.setColAlignment(col, column.alignment);
        grid_.setTextMatrix(0, col, column.heading);
    }
}

void RptPendancy::cmd_show_Click() {
    try {
        count_districts();
    } catch (const store::StoreError& e) {
        // A half-counted grid would print wrong figures: back to the headings.
        set_grid_heads();
        report_database_error(QStringLiteral("The claims could not be counted"), e);
    }
}

void RptPendancy::count_districts() {
    grid_.Clear();
    set_grid_heads();
    row_no = 1;
    if (rs_main.State() == store::adStateOpen)
        rs_main.Close();
    rs_main.Open("Select distname from districts order by distname", db_conn, store::adOpenKeyset,
                 store::adLockOptimistic, store::adCmdUnspecified);
    CountProgress progress(this, int(rs_main.RecordCount()), progress_delay_ms_);
    const QString between = period();
    for (rs_main.MoveFirst(); !rs_main.Eof(); rs_main.MoveNext()) {
        progress.district(row_no);
        const QString name = rs_main.Fields(0).text().trimmed();
        grid_.setRows(row_no + 1);
        grid_.setTextMatrix(row_no, 0, QString::number(row_no));
        grid_.setTextMatrix(row_no, 1, name);
        fill_counts(district_statements(name, between));
        ++row_no;
    }
    progress.state_total();
    add_state_total();
}

void RptPendancy::add_state_total() {
    grid_.setRows(row_no + 1);
    grid_.setTextMatrix(row_no, 1, "PUNJAB (TOTAL)");
    fill_counts(state_statements(period()));
}

void RptPendancy::fill_counts(const std::array<QString, 4>& statements) {
    for (int i = 0; i < 4; ++i) {
        if (rs_aux.State() == store::adStateOpen)
            rs_aux.Close();
        rs_aux.Open(statements[std::size_t(i)], db_conn, store::adOpenKeyset,
                    store::adLockOptimistic, store::adCmdUnspecified);
        grid_.setTextMatrix(row_no, 2 + i,
                            rs_aux.Eof() ? QStringLiteral("0") : rs_aux.Fields(0).text().trimmed());
    }
}

QString RptPendancy::period() const {
    return "refdate between " + store::date_literal(ui->txt_from->date()) + " and " +
           store::date_literal(ui->txt_to->date());
}

void RptPendancy::cmd_print_Click() {
    if (grid_.Rows() < 2) {
        MsgBox("No Record to Print.", MsgBoxStyle::Information, "Sorry");
        return;
    }
    DRPendancy report;
    try {
        fill_preport();
        using DEDetail::rsPendancy;
        if (rsPendancy.State() == store::adStateOpen)
            rsPendancy.Close();
        rsPendancy.Open("SELECT sno, distname, tc, sc, rc, pc FROM preport order by sno", db_conn,
                        store::adOpenStatic, store::adLockOptimistic, store::adCmdUnspecified);
        if (rsPendancy.RecordCount() < 1) {
            MsgBox("No Record Found ", MsgBoxStyle::Information, "Sorry");
            return;
        }
        rsPendancy.Requery();
        report.take_rows(rsPendancy);
    } catch (const store::StoreError& e) {
        report_database_error(QStringLiteral("The report could not be prepared"), e);
        return;
    }
    // Made afresh for every showing, so the print date and the period are always current.
    report.DataReport_Initialize(ui->txt_from->date(), ui->txt_to->date());
    report.Show(this);
}

// The delete and the inserts are one transaction: preport never holds half a table.
void RptPendancy::fill_preport() {
    store::Transaction transaction(db_conn);
    sql_text = "Delete from preport";
    db_conn.Execute(sql_text, store::adCmdUnspecified);
    for (int i = 1; i < grid_.Rows(); ++i) {
        sql_text = "Insert into preport (sno,distname,tc,sc,rc,pc) values (" + QString::number(i) +
                   "," + store::text_literal(grid_.TextMatrix(i, 1)) + "," +
                   grid_.TextMatrix(i, 2) + "," + grid_.TextMatrix(i, 3) + "," +
                   grid_.TextMatrix(i, 4) + "," + grid_.TextMatrix(i, 5) + ")";
        db_conn.Execute(sql_text, store::adCmdUnspecified);
    }
    transaction.commit();
}

void RptPendancy::cmd_close_Click() {
    close();
}
