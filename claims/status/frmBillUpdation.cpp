// Lookup, status choice and update of the bill status form over its .ui layout.
#include "frmBillUpdation.h"

#include "Class1.h"
#include "claim_changes.h"
#include "database_error.h"
#include "dialogs.h"
#include "field_value.h"
#include "key_press.h"
#include "module1.h"
#include "pick_only.h"
#include "store_error.h"
#include "stored_text.h"
#include "ui_frmBillUpdation.h"
#include "val.h"
#include "values.h"

#include <QDate>
#include <QLocale>
#include <algorithm>

using platform::MsgBox;
using platform::MsgBoxStyle;

namespace {

const QString kPending = QStringLiteral("Pending");
const QString kSanctioned = QStringLiteral("Sanctioned");
const QString kRejected = QStringLiteral("Rejected");
// Written for empty remarks, and shown again as empty remarks.
const QString kNoRemarks = QStringLiteral("-");
constexpr qint16 kQuote = 39;

// The number a typed reference number looks up: its leading numeric value, blanks skipped and
// reading stopped at any other character, as plain decimal text ("1 2" and "12,5" read 12).
QString looked_up_number(const QString& typed) {
    return store::FieldValue(platform::Val(typed.trimmed())).text();
}

// True when the text holds nothing but blanks and commas, which a number drops.
bool holds_no_number(const QString& text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.isSpace() || c == u','; });
}

bool above_zero(const QString& plain_number) {
    return std::any_of(plain_number.begin(), plain_number.end(),
                       [](QChar c) { return c >= u'1' && c <= u'9'; });
}

} // namespace

frmBillUpdation::frmBillUpdation(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::frmBillUpdation>()) {
    ui->setupUi(this);
    ui->txt_date->setLocale(QLocale::c());
    platform::MakePickOnly(ui->cmb_status);
    platform::OnKeyPress(ui->txt_refno, [this](qint16& k) { txt_refno_KeyPress(k); });
    platform::OnKeyPress(ui->txt_amount, [this](qint16& k) { txt_amount_KeyPress(k); });
    platform::OnKeyPress(ui->txt_remarks, [this](qint16& k) { txt_remarks_KeyPress(k); });
    platform::OnKeyPress(ui->cmb_status, [this](qint16& k) { cmb_status_KeyPress(k); });
    connect(ui->txt_refno, &QLineEdit::textChanged, this, &frmBillUpdation::txt_refno_Change);
    connect(ui->cmb_status, &QComboBox::activated, this, &frmBillUpdation::cmb_status_Click);
    connect(ui->cmd_update, &QPushButton::clicked, this, &frmBillUpdation::cmd_update_Click);
    connect(ui->cmd_close, &QPushButton::clicked, this, &frmBillUpdation::cmd_close_Click);
    Form_Load();
}

frmBillUpdation::~frmBillUpdation() = default;

void frmBillUpdation::Form_Load() {
    // Emptying the number is a change of it: the lookup runs, and what it shows is undone below.
    ui->txt_refno->clear();
    clear_decision();
    ui->cmb_status->clear();
    ui->cmb_status->addItems({kPending, kSanctioned, kRejected});
    platform::SetPickOnlyText(ui->cmb_status, QString()); // adding made the first entry current
}

void frmBillUpdation::show_claim(const QString& refno) {
    ui->txt_refno->setText(refno);
}

void frmBillUpdation::txt_refno_Change() {
    clear_decision();
    try {
        look_up(looked_up_number(ui->txt_refno->text()));
    } catch (const store::StoreError& error) {
        report_database_error(QStringLiteral("The claim could not be looked up"), error);
    }
}

void frmBillUpdation::cmb_status_Click() {
    enable_amount_and_date(true);
    ui->txt_amount->clear();
    ui->txt_date->setDate(QDate::currentDate());
    const QString status = ui->cmb_status->currentText().trimmed();
    if (status == kPending || status == kRejected || status.isEmpty()) {
        enable_amount_and_date(false);
        ui->txt_amount->clear();
    }
}

void frmBillUpdation::cmd_update_Click() {
    const QString status = ui->cmb_status->currentText().trimmed();
    QString amount = QStringLiteral("0");
    if (status == kSanctioned) {
        const std::optional<QString> approved = sanctioned_amount();
        if (!approved)
            return;
        amount = *approved;
    }
    // A pasted NUL or half of a character pair cannot be stored: refused, never cut.
    if (!store::text_storable(ui->txt_remarks->text())) {
        MsgBox(QStringLiteral("Remarks holds a character that cannot be stored. Type them again."),
               MsgBoxStyle::Information, QStringLiteral("Invalid"));
        ui->txt_remarks->setFocus();
        ui->txt_remarks->selectAll();
        return;
    }
    Module1::reply = QString::number(MsgBox(QStringLiteral("Do you want to update record?"),
                                            MsgBoxStyle::Question, QStringLiteral("Update?")));
    if (Module1::reply == QString::number(platform::vbNo))
        return;
    const QString typed_remarks = ui->txt_remarks->text();
    if (typed_remarks.trimmed().isEmpty())
        ui->txt_remarks->setText(kNoRemarks);
    std::int64_t written = 0;
    try {
        written = write_decision(status, amount);
    } catch (const store::StoreError& error) {
        ui->txt_remarks->setText(typed_remarks);
        report_database_error(QStringLiteral("The decision was not saved"), error);
        return;
    }
    if (written == 0) {
        // Deleted since it was shown (by another program on the same file): nothing was written.
        MsgBox(QStringLiteral("No Record Found!"), MsgBoxStyle::Information,
               QStringLiteral("Sorry"));
        txt_refno_Change();
        return;
    }
    MsgBox(QStringLiteral("Record Updated Successfully!"), MsgBoxStyle::Information,
           QStringLiteral("Updated!"));
    Form_Load();
    ui->txt_refno->setFocus();
}

void frmBillUpdation::cmd_close_Click() {
    reject();
}

void frmBillUpdation::txt_refno_KeyPress(qint16& KeyAscii) {
    Module1::key_check.only_numeric(KeyAscii, this);
}

void frmBillUpdation::txt_amount_KeyPress(qint16& KeyAscii) {
    Module1::key_check.only_numeric(KeyAscii, this);
}

void frmBillUpdation::txt_remarks_KeyPress(qint16& KeyAscii) {
    if (KeyAscii == kQuote)
        KeyAscii = 0;
}

void frmBillUpdation::cmb_status_KeyPress(qint16& KeyAscii) {
    KeyAscii = 0;
}

void frmBillUpdation::clear_decision() {
    platform::SetPickOnlyText(ui->cmb_status, QString());
    ui->txt_amount->clear();
    ui->txt_date->setDate(QDate::currentDate());
    ui->txt_remarks->clear();
    ui->lbl_name->clear();
    ui->lbl_fname->clear();
    ui->lbl_designation->clear();
    ui->cmd_update->setEnabled(false);
    enable_amount_and_date(false);
    shown_refno_.clear();
}

void frmBillUpdation::look_up(const QString& refno) {
    using Module1::rs_aux;
    if (rs_aux.State() == store::adStateOpen)
        rs_aux.Close();
    shown_changes_ = store::change_count(Module1::db_conn, refno);
    rs_aux.Open("Select billstatus,amtapproved,appdate,remarks,empname,fname,design from detail "
                "where refno=" +
                    refno,
                Module1::db_conn, store::adOpenKeyset, store::adLockPessimistic,
                store::adCmdUnspecified);
    if (rs_aux.Eof())
        return;
    show_claim();
    shown_refno_ = refno;
}

void frmBillUpdation::show_claim() {
    using Module1::rs_aux;
    const QString status = rs_aux.Fields(0).text();
    platform::SetPickOnlyText(ui->cmb_status, status);
    const store::FieldValue& amount = rs_aux.Fields(1);
    if (!amount.text().trimmed().isEmpty() && amount.number() != 0)
        ui->txt_amount->setText(amount.text().trimmed());
    if (const QDate approved = rs_aux.Fields(2).date(); approved.isValid())
        ui->txt_date->setDate(approved);
    const store::FieldValue& remarks = rs_aux.Fields(3);
    if (!remarks.is_null() && remarks.text() != kNoRemarks)
        platform::ShowStoredText(ui->txt_remarks, remarks.text());
    platform::ShowElided(ui->lbl_name, rs_aux.Fields(4).text());
    platform::ShowElided(ui->lbl_fname, rs_aux.Fields(5).text());
    platform::ShowElided(ui->lbl_designation, rs_aux.Fields(6).text());
    ui->cmd_update->setEnabled(true);
    if (status == kSanctioned)
        enable_amount_and_date(true);
}

void frmBillUpdation::enable_amount_and_date(bool enabled) {
    ui->txt_amount->setEnabled(enabled);
    ui->txt_date->setEnabled(enabled);
}

std::optional<QString> frmBillUpdation::sanctioned_amount() {
    const QString typed = ui->txt_amount->text();
    const std::optional<QString> plain = store::number_literal(typed);
    if (holds_no_number(typed) || (plain && !above_zero(*plain))) {
        MsgBox(QStringLiteral("Enter Amout Please"), MsgBoxStyle::Information,
               QStringLiteral("Field Required"));
        ui->txt_amount->clear();
        ui->txt_amount->setFocus();
        return std::nullopt;
    }
    if (!plain) {
        MsgBox(QStringLiteral("Invalid Amount Approved!"), MsgBoxStyle::Information,
               QStringLiteral("Invalid"));
        ui->txt_amount->setFocus();
        return std::nullopt;
    }
    return plain;
}

std::int64_t frmBillUpdation::write_decision(const QString& status, const QString& amount) {
    const QString approved_on =
        status == kSanctioned ? store::date_literal(ui->txt_date->date()) : QStringLiteral("Null ");
    Module1::sql_text = "Update detail set billstatus=" + store::text_literal(status) +
                        ", amtapproved=" + amount + ", appdate=" + approved_on +
                        ", remarks=" + store::text_literal(ui->txt_remarks->text()) +
                        " where refno=" + shown_refno_ + " ";
    store::Transaction transaction(Module1::db_conn);
    store::require_unchanged(Module1::db_conn, shown_refno_, shown_changes_);
    const std::int64_t written =
        Module1::db_conn.Execute(Module1::sql_text, store::adCmdUnspecified);
    transaction.commit();
    return written;
}
