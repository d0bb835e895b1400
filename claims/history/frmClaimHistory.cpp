// The history window and its printout.
#include "frmClaimHistory.h"

#include "database_error.h"
#include "dialogs.h"
#include "module1.h"
#include "reports/csv_export.h"
#include "reports/report_preview.h"
#include "reports/tabular_report.h"
#include "store_error.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

using platform::MsgBox;
using platform::MsgBoxStyle;

QPushButton* button(const char* name, const QString& caption) {
    auto* made = new QPushButton(caption);
    made->setObjectName(name);
    return made;
}

QString when(const history::Change& change) {
    return change.at.toLocalTime().toString(QStringLiteral("dd-MM-yyyy hh:mm:ss"));
}

QString caption() {
    return QStringLiteral("Claim History");
}

} // namespace

frmClaimHistory::frmClaimHistory(QWidget* parent)
    : QDialog(parent), txt_refno(new QLineEdit), cmd_show(button("cmd_show", "Show")),
      lst_history(new QTreeWidget), cmd_print(button("cmd_print", "Print")),
      cmd_restore(button("cmd_restore", "Put Back")), cmd_close(button("cmd_close", "Close")) {
    setObjectName("frmClaimHistory");
    setWindowTitle(caption());
    txt_refno->setObjectName("txt_refno");
    lst_history->setObjectName("lst_history");
    lst_history->setHeaderLabels({"When", "Who", "What", "Field", "Before", "After"});
    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel("Reference No."), 0, 0);
    layout->addWidget(txt_refno, 0, 1);
    layout->addWidget(cmd_show, 0, 2);
    layout->addWidget(lst_history, 1, 0, 1, 6);
    layout->addWidget(cmd_print, 2, 3);
    layout->addWidget(cmd_restore, 2, 4);
    layout->addWidget(cmd_close, 2, 5);
    layout->setColumnStretch(1, 1);
    resize(900, 560);
    cmd_show->setDefault(true);
    cmd_print->setEnabled(false);
    cmd_restore->setEnabled(false);
    connect(cmd_show, &QPushButton::clicked, this, &frmClaimHistory::cmd_show_Click);
    connect(cmd_print, &QPushButton::clicked, this, &frmClaimHistory::cmd_print_Click);
    connect(cmd_restore, &QPushButton::clicked, this, &frmClaimHistory::cmd_restore_Click);
    connect(cmd_close, &QPushButton::clicked, this, &QDialog::reject);
}

void frmClaimHistory::cmd_show_Click() {
    bool ok = false;
    const qint64 refno = txt_refno->text().trimmed().toLongLong(&ok);
    if (!ok) {
        MsgBox("Enter the reference number of a claim.", MsgBoxStyle::Information, caption());
        txt_refno->setFocus();
        return;
    }
    show_history(refno);
    if (shown_.empty())
        MsgBox("No Record Found!", MsgBoxStyle::Information, caption());
}

void frmClaimHistory::show_history(qint64 refno) {
    lst_history->clear();
    shown_.clear();
    cmd_print->setEnabled(false);
    cmd_restore->setEnabled(false);
    try {
        shown_ = history::read_history(Module1::db_conn, refno);
        shown_refno_ = refno;
        cmd_restore->setEnabled(history::can_restore(Module1::db_conn, refno));
    } catch (const store::StoreError& e) {
        report_database_error(QStringLiteral("The history could not be read"), e);
        return;
    }
    for (const history::Change& change : shown_) {
        auto* line = new QTreeWidgetItem(lst_history, {when(change), change.who, change.kind});
        for (const history::FieldChange& field : change.fields)
            new QTreeWidgetItem(line,
                                {{}, {}, {}, field.field, field.before.text(), field.after.text()});
    }
    lst_history->expandAll();
    cmd_print->setEnabled(!shown_.empty());
}

void frmClaimHistory::fill_report(reports::TabularReport& report, qint64 refno,
                                  const std::vector<history::Change>& changes) {
    report.setTitle(QStringLiteral("History of Claim %1").arg(refno));
    report.setHeaderLines({QStringLiteral("Printed on %1")
                               .arg(QDateTime::currentDateTime().toString("dd-MM-yyyy hh:mm"))});
    report.setColumns({{"When", 1900},
                       {"Who", 2000},
                       {"What", 1500},
                       {"Field", 1300},
                       {"Before", 3600},
                       {"After", 3600}});
    QList<QVariantList> rows;
    for (const history::Change& change : changes) {
        QVariantList first{when(change), change.who, change.kind, QString(), QString(), QString()};
        if (change.fields.empty())
            rows << first;
        for (std::size_t i = 0; i < change.fields.size(); ++i) {
            const history::FieldChange& field = change.fields[i];
            QVariantList row = i == 0 ? first.mid(0, 3) : QVariantList{{}, {}, {}};
            rows << (row << field.field << field.before.text() << field.after.text());
        }
    }
    report.setRows(rows);
    report.setFooterCaptions(QStringLiteral("Number of lines"), QString());
}

void frmClaimHistory::cmd_print_Click() {
    reports::TabularReport report;
    fill_report(report, shown_refno_, shown_);
    QDialog viewer(this, Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    viewer.setObjectName("frmHistoryReport");
    viewer.setWindowTitle(caption());
    auto* preview = new reports::ReportPreview(report, &viewer);
    preview->setObjectName("CRViewer1");
    preview->addExport(tr("Export CSV"), tr("CSV files"), "csv",
                       [&report](const QString& path, QString* error) {
                           return reports::exportCsv(report, path, error);
                       });
    (new QVBoxLayout(&viewer))->addWidget(preview);
    viewer.setWindowState(Qt::WindowMaximized);
    preview->refresh();
    viewer.exec();
}

void frmClaimHistory::cmd_restore_Click() {
    if (MsgBox(QStringLiteral("Put back the deleted claim %1 under its number?").arg(shown_refno_),
               MsgBoxStyle::Question, caption()) != platform::vbYes)
        return;
    try {
        history::restore_claim(Module1::db_conn, shown_refno_);
    } catch (const store::StoreError& e) {
        report_database_error(QStringLiteral("The claim was not put back"), e);
        return;
    }
    MsgBox(QStringLiteral("The claim %1 is put back.").arg(shown_refno_), MsgBoxStyle::Information,
           caption());
    show_history(shown_refno_);
}
