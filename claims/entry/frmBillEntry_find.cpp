// The commands on stored claims: FIND shows one by its reference number, EDIT opens it for
// change, DELETE removes it after a question, RESET drops whatever the form holds.
//
// The find number is read as the text's leading number rounded half to even and held in 64 bits,
// so any stored number can be found. A database failure is reported and never half-done: a failed
// find leaves the form idle, a failed delete leaves the claim shown.
#include "dialogs.h"
#include "frmBillEntry.h"
#include "module1.h"
#include "store_error.h"
#include "ui_frmBillEntry.h"
#include "val.h"

using platform::MsgBox;
using platform::MsgBoxStyle;

void frmBillEntry::cmd_find_Click() {
    find_record();
}

void frmBillEntry::find_record() {
    Form_Load();
    find_text = platform::InputBox("Enter Reference Number", "Find Bill By Ref. No.");
    if (find_text.isEmpty())
        return;
    find_number(find_text);
}

void frmBillEntry::find_number(const QString& typed) {
    using namespace store;
    // No claim can carry a number beyond 64 bits: such input simply finds nothing.
    const std::optional<std::int64_t> number = platform::RoundHalfEven(platform::Val(typed));
    try {
        if (number) {
            if (Module1::rs_aux.State() == adStateOpen)
                Module1::rs_aux.Close();
            Module1::rs_aux.Open("Select * from detail where refno=" + QString::number(*number),
                                 Module1::db_conn, adOpenKeyset, adLockPessimistic,
                                 adCmdUnspecified);
        }
        if (!number || Module1::rs_aux.RecordCount() == 0) {
            MsgBox("No Record Found!", MsgBoxStyle::Information, "Sorry");
            Form_Load();
            return;
        }
        show_record();
    } catch (const store::StoreError& e) {
        Form_Load();
        report_database_error(QStringLiteral("The bill could not be looked up"), e);
        return;
    }
    ui->cmd_edit->setEnabled(true);
    ui->cmd_delete->setEnabled(true);
}

void frmBillEntry::cmd_edit_Click() {
    enable_fields(true);
    if (!ui->txt_DIncome->text().trimmed().isEmpty())
        ui->txt_DIncome->setEnabled(true);
    if (!ui->txt_HAmount->text().trimmed().isEmpty())
        ui->txt_HAmount->setEnabled(true);
    ui->txt_RefDate->setEnabled(false);
    ui->cmd_find->setEnabled(false);
    ui->cmd_save->setEnabled(true);
    ui->cmd_delete->setEnabled(false);
    ui->cmd_save->setText("UPDATE");
    ui->cmd_edit->setEnabled(false);
    ui->txt_EmpName->setFocus();
}

void frmBillEntry::cmd_delete_Click() {
    if (ui->txt_EmpName->text().trimmed().isEmpty())
        return;
    Module1::reply =
        QString::number(MsgBox("Do you want to Delete Record?", MsgBoxStyle::Question, "Delete?"));
    if (Module1::reply != QString::number(platform::vbYes))
        return;
    Module1::sql_text = "Delete from detail where refno=" + ui->txt_refno->text().trimmed();
    try {
        Module1::db_conn.Execute(Module1::sql_text, store::adCmdUnspecified);
    } catch (const store::StoreError& e) {
        report_database_error(QStringLiteral("The record was not deleted"), e);
        return;
    }
    MsgBox("Record Deleted Successfully", MsgBoxStyle::Information, "Deleted!");
    Form_Load();
}

void frmBillEntry::cmd_reset_Click() {
    Form_Load();
}
