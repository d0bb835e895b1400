// Searching as the clerk types, and opening what is found in the register's own forms.
#include "frmFindClaim.h"

#include "claim_search.h"
#include "database_error.h"
#include "frmBillEntry.h"
#include "frmBillUpdation.h"
#include "module1.h"
#include "schema.h"
#include "store_error.h"
#include "ui_frmFindClaim.h"

#include <QHeaderView>
#include <QLocale>
#include <QTimer>

namespace {

const QString kAllDistricts = QStringLiteral("All Districts");
const QString kAllCases = QStringLiteral("All Cases");

QTableWidgetItem* cell(const QString& text, bool number = false) {
    auto* item = new QTableWidgetItem(text);
    if (number)
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

} // namespace

frmFindClaim::frmFindClaim(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::frmFindClaim>()), pause_(new QTimer(this)) {
    ui->setupUi(this);
    ui->cmb_district->addItem(kAllDistricts);
    ui->cmb_district->addItems(store::district_names());
    ui->cmb_status->addItems({kAllCases, "Pending", "Rejected", "Sanctioned"});
    ui->grd_found->setColumnCount(7);
    ui->grd_found->setHorizontalHeaderLabels({"Ref. No.", "Ref. Date", "Employee Name",
                                              "Patient Name", "District", "Amount Claimed",
                                              "Status"});
    ui->grd_found->verticalHeader()->hide();
    ui->grd_found->horizontalHeader()->setStretchLastSection(true);
    pause_->setSingleShot(true);
    pause_->setInterval(kPauseMs);
    connect(pause_, &QTimer::timeout, this, &frmFindClaim::search);
    connect(ui->txt_search, &QLineEdit::textChanged, pause_, qOverload<>(&QTimer::start));
    connect(ui->txt_search, &QLineEdit::returnPressed, this, [this] {
        search_now_from_box();
        open_claim();
    });
    connect(ui->cmb_district, &QComboBox::currentIndexChanged, this, &frmFindClaim::search);
    connect(ui->cmb_status, &QComboBox::currentIndexChanged, this, &frmFindClaim::search);
    connect(ui->grd_found, &QTableWidget::activated, this, &frmFindClaim::open_claim);
    connect(ui->cmd_open, &QPushButton::clicked, this, &frmFindClaim::open_claim);
    connect(ui->cmd_status, &QPushButton::clicked, this, &frmFindClaim::open_status);
    connect(ui->cmd_close, &QPushButton::clicked, this, &QDialog::close);
    ui->txt_search->setFocus();
}

frmFindClaim::~frmFindClaim() = default;

void frmFindClaim::search_now_from_box() {
    if (pause_->isActive()) {
        pause_->stop();
        search();
    }
}

void frmFindClaim::search() {
    pause_->stop();
    search::Filters filters;
    if (ui->cmb_district->currentIndex() > 0)
        filters.district = ui->cmb_district->currentText();
    if (ui->cmb_status->currentIndex() > 0)
        filters.status = ui->cmb_status->currentText();
    search::Findings findings;
    try {
        findings = search::find_claims(Module1::db_conn, ui->txt_search->text(), filters);
    } catch (const store::StoreError& e) {
        ui->grd_found->setRowCount(0);
        ui->lbl_more->clear();
        report_database_error(QStringLiteral("The claims could not be searched"), e);
        return;
    }
    const QLocale english(QLocale::English);
    ui->grd_found->setRowCount(static_cast<int>(findings.lines.size()));
    int row = 0;
    for (const search::FoundClaim& claim : findings.lines) {
        const QString date =
            claim.refdate.isValid() ? english.toString(claim.refdate, "dd-MMM-yyyy") : QString();
        const QString cells[] = {claim.refno,     date,        claim.empname,
                                 claim.pname,     claim.odist, claim.amtclaimed,
                                 claim.billstatus};
        for (int column = 0; column < 7; ++column)
            ui->grd_found->setItem(row, column, cell(cells[column], column == 0 || column == 5));
        ++row;
    }
    if (row > 0)
        ui->grd_found->selectRow(0);
    if (findings.more > 0)
        ui->lbl_more->setText(QStringLiteral("%1 more claims match; type more of the name to see "
                                             "them.")
                                  .arg(findings.more));
    else if (row == 0 && !ui->txt_search->text().trimmed().isEmpty())
        ui->lbl_more->setText(QStringLiteral("No claim matches."));
    else
        ui->lbl_more->clear();
}

QString frmFindClaim::chosen_refno() const {
    if (ui->grd_found->rowCount() == 0)
        return {};
    const int row = std::max(ui->grd_found->currentRow(), 0);
    return ui->grd_found->item(row, 0)->text();
}

void frmFindClaim::open_claim() {
    const QString refno = chosen_refno();
    if (refno.isEmpty())
        return;
    frmBillEntry form(this);
    form.find_number(refno);
    form.exec();
    search();
}

void frmFindClaim::open_status() {
    search_now_from_box();
    const QString refno = chosen_refno();
    if (refno.isEmpty())
        return;
    frmBillUpdation form(this);
    form.show_claim(refno);
    form.exec();
    search();
}
