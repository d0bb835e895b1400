// Starting a new claim, checking the entry and saving it: one insert and nine updates for a new
// claim, ten updates for an edited one, always as one transaction.
//
// What the save guarantees beyond the statements themselves: amounts are written only as plain
// numbers (blanks and thousands commas taken out, anything else refused before the question);
// a text box holding what no statement can store (a pasted NUL, half of a character pair) is
// refused before the question as well, never cut or changed;
// a failed save rolls back whole and leaves the form exactly as the clerk left it, the optional
// boxes included; a new claim whose number another program has used meanwhile takes the next free
// number, and the clerk is told which; an update of a claim that is no longer stored fails rather
// than reporting success.
#include "control_text.h"
#include "database_error.h"
#include "dialogs.h"
#include "entry_controls.h"
#include "frmBillEntry.h"
#include "module1.h"
#include "store_error.h"
#include "stored_date.h"
#include "ui_frmBillEntry.h"
#include "values.h"

using platform::MsgBox;
using platform::MsgBoxStyle;

namespace {

bool is_empty(const QWidget* control) {
    return control_text(control).trimmed().isEmpty();
}

} // namespace

void frmBillEntry::cmd_addnew_Click() {
    // The number is asked for first, so a database failure leaves the form as it was.
    QString number;
    try {
        number = Module1::allocate_reference_number();
    } catch (const std::exception& e) {
        report_database_error(QStringLiteral("No reference number could be found for a new bill"),
                              e);
        return;
    }
    Form_Load();
    enable_fields(true);
    ui->cmd_save->setEnabled(true);
    ui->cmd_addnew->setEnabled(false);
    ui->txt_refno->setText(number);
    ui->txt_EmpName->setFocus();
}

bool frmBillEntry::applies(const EntryControl& entry) const {
    switch (entry.need) {
    case Need::required:
        return true;
    case Need::dependent:
        return ui->cmb_Type->currentText().trimmed() == "Dependent";
    case Need::approved:
        return ui->cmb_HApproval->currentText().trimmed() == "Yes";
    default:
        return false;
    }
}

void frmBillEntry::check_fields() {
    valid_flag = "OK";
    for (const EntryControl& entry : kEntryControls) {
        QWidget* const box = control(entry);
        if (entry.check == nullptr || !applies(entry) || !is_empty(box))
            continue;
        MsgBox(entry.check, MsgBoxStyle::Information, "Field Required");
        empty_control(box);
        box->setFocus();
        if (entry.kind == Kind::list)
            platform::SendF4();
        valid_flag.clear();
        return;
    }
}

std::optional<frmBillEntry::Amounts> frmBillEntry::read_amounts() {
    Amounts amounts{{"dependpay", QStringLiteral("0")}, {"amthealth", QStringLiteral("0")}};
    for (const EntryControl& entry : kEntryControls) {
        if (entry.kind != Kind::number || !applies(entry))
            continue;
        auto* box = qobject_cast<QLineEdit*>(control(entry));
        const std::optional<QString> number = store::number_literal(box->text());
        if (!number) {
            MsgBox(QStringLiteral("%1 is not a valid number. Enter digits only, such as 12000 or "
                                  "1,20,000.")
                       .arg(entry.label),
                   MsgBoxStyle::Information, "Invalid");
            box->setFocus();
            return std::nullopt;
        }
        amounts[entry.column] = *number;
    }
    return amounts;
}

bool frmBillEntry::texts_storable() {
    for (const EntryControl& entry : kEntryControls) {
        auto* box = qobject_cast<QLineEdit*>(control(entry));
        if (entry.kind != Kind::text || store::text_storable(box->text()))
            continue;
        MsgBox(QStringLiteral("%1 holds a character that cannot be stored. Type its text again.")
                   .arg(entry.label),
               MsgBoxStyle::Information, "Invalid");
        box->setFocus();
        box->selectAll();
        return false;
    }
    return true;
}

bool frmBillEntry::is_new_claim() const {
    return ui->cmd_save->text() == "SAVE";
}

void frmBillEntry::cmd_save_Click() {
    check_fields();
    if (valid_flag.isEmpty())
        return;
    const std::optional<Amounts> amounts = read_amounts();
    if (!amounts || !texts_storable())
        return;
    const bool new_claim = is_new_claim();
    const int answer =
        new_claim ? MsgBox("Do you want to save record ?", MsgBoxStyle::Question, "Save?")
                  : MsgBox("Do you want to update record ?", MsgBoxStyle::Question, "Update?");
    Module1::reply = QString::number(answer);
    if (Module1::reply != QString::number(platform::vbYes))
        return;

    std::vector<std::pair<QLineEdit*, QString>> optional; // each box with what it held
    for (const EntryControl& entry : kEntryControls) {
        if (entry.need != Need::optional)
            continue;
        auto* box = qobject_cast<QLineEdit*>(control(entry));
        optional.emplace_back(box, box->text());
        if (box->text().trimmed().isEmpty())
            box->setText(kDashMarker);
    }
    const QString proposed = ui->txt_refno->text().trimmed();
    QString saved_as;
    try {
        saved_as = write_record(*amounts);
    } catch (const std::exception& e) {
        for (const auto& [box, typed] : optional)
            box->setText(typed);
        report_database_error(new_claim ? QStringLiteral("The record was not saved")
                                        : QStringLiteral("The record was not updated"),
                              e);
        return;
    }

    if (new_claim) {
        QString text = QStringLiteral("Record Saved Successfully.");
        if (saved_as != proposed) {
            ui->txt_refno->setText(saved_as);
            text += QStringLiteral("\nNumber %1 was given to another bill meanwhile, so this "
                                   "bill is saved under number %2.")
                        .arg(proposed, saved_as);
        }
        MsgBox(text, MsgBoxStyle::Information, "Saved");
    } else {
        MsgBox("Record Updated Successfully.", MsgBoxStyle::Information, "Updated");
    }
    Form_Load();
}

QString frmBillEntry::write_record(const Amounts& amounts) {
    store::Transaction transaction(Module1::db_conn);
    QString R = ui->txt_refno->text().trimmed();
    if (is_new_claim())
        R = free_reference_number(R);
    execute_save_statements(R, amounts);
    transaction.commit();
    return R;
}

// Inside the save's transaction no other program can write, so a number found free here stays
// free until the claim is committed.
QString frmBillEntry::free_reference_number(const QString& proposed) {
    using namespace store;
    if (!number_literal(proposed))
        throw StoreError(
            QStringLiteral("the reference number \"%1\" is not a number").arg(proposed));
    if (Module1::rs_main.State() == adStateOpen)
        Module1::rs_main.Close();
    Module1::rs_main.Open("Select refno from detail where refno=" + proposed, Module1::db_conn,
                          adOpenKeyset, adLockPessimistic, adCmdUnspecified);
    if (Module1::rs_main.RecordCount() == 0)
        return proposed;
    return Module1::allocate_reference_number();
}

void frmBillEntry::execute_save_statements(const QString& R, const Amounts& amounts) {
    const auto text = [](const QWidget* control) {
        return store::text_literal(control_text(control));
    };
    const QString where = " where refno=" + R;
    const QString type = ui->cmb_Type->currentText().trimmed();

    QStringList statements;
    if (is_new_claim())
        statements << "Insert into detail (refno,refdate,billstatus) values(" + R + ", " +
                          date_value(*ui->txt_RefDate) + ",'Pending')";
    else
        statements << "Update detail set refdate=" + date_value(*ui->txt_RefDate) + where;
    statements << "Update detail set empname=" + text(ui->txt_EmpName) +
                      ", fname=" + text(ui->txt_Fname) + ", design=" + text(ui->txt_Design) +
                      ", basicpay=" + amounts.at("basicpay") + where;
    statements << "Update detail set oaddress=" + text(ui->txt_OAddress) +
                      ", ovill=" + text(ui->txt_OVillage) + ", oteh=" + text(ui->txt_OTehsil) +
                      ", oblkname=" + text(ui->txt_OEBlock) + ", odist=" + text(ui->cmb_district) +
                      where;
    statements << "Update detail set raddress=" + text(ui->txt_PAddress) +
                      ", rvill=" + text(ui->txt_PVillage) + ", rteh=" + text(ui->txt_PTehsil) +
                      ", rdist=" + text(ui->txt_PDistrict) + ", rstate=" + text(ui->txt_State) +
                      where;
    statements << "Update detail set pname=" + text(ui->txt_pname) +
                      ", page=" + amounts.at("page") + ", relation=" + text(ui->txt_Relation) +
                      where;
    statements << "Update detail set disease=" + text(ui->txt_Disease) +
                      ", dfrom=" + date_value(*ui->txt_from) + ", dto=" + date_value(*ui->txt_to) +
                      ", hospital=" + text(ui->txt_Hospital) +
                      ", amtclaimed=" + amounts.at("amtclaimed") +
                      ", claimtype=" + text(ui->cmb_Type) + where;
    if (type == "Self")
        statements << "Update detail set dependpay=0" + where;
    else if (type == "Dependent")
        statements << "Update detail set dependpay=" + amounts.at("dependpay") + where;
    statements << "Update detail set documents=" + text(ui->cmb_Documents) +
                      ", apphealth=" + text(ui->cmb_HApproval) +
                      ", medicalcrt=" + text(ui->cmb_doctor) + where;
    statements << "Update detail set amthealth=" + amounts.at("amthealth") + where;
    statements << "Update detail set intime=" + text(ui->cmb_BillTime) +
                      ", officer=" + text(ui->txt_DOfficer) +
                      ", offdesign=" + text(ui->txt_DDesign) + ", branch=" + text(ui->txt_DBranch) +
                      where;

    for (qsizetype i = 0; i < statements.size(); ++i) {
        Module1::sql_text = statements[i];
        const std::int64_t changed =
            Module1::db_conn.Execute(Module1::sql_text, store::adCmdUnspecified);
        // The first statement of an update finds no row when the bill was deleted meanwhile.
        if (i == 0 && changed == 0)
            throw store::StoreError(
                QStringLiteral("the bill with reference number %1 is no longer stored").arg(R));
    }
}
