// Showing a stored claim: the current row of rs_aux, read by column position 1 to 34, goes into
// the entry controls. It runs after the load routine has emptied the form, so a control it leaves
// alone stays empty, and it switches no control on or off. A Null shows as an empty box.
#include "control_text.h"
#include "date_picker.h"
#include "frmBillEntry.h"
#include "module1.h"
#include "ui_frmBillEntry.h"

namespace {

constexpr char kDashMarker[] = "-";

} // namespace

void frmBillEntry::show_record() {
    store::Recordset& row = Module1::rs_aux;
    const auto text = [&row](int position) { return row.Fields(position).text(); };

    const std::pair<int, QWidget*> plain[] = {
        {1, ui->txt_refno},       {3, ui->txt_EmpName},  {4, ui->txt_Fname},
        {5, ui->txt_Design},      {6, ui->txt_Pay},      {7, ui->txt_OAddress},
        {11, ui->cmb_district},   {17, ui->txt_pname},   {18, ui->txt_age},
        {19, ui->txt_Relation},   {20, ui->txt_Disease}, {23, ui->txt_Hospital},
        {24, ui->txt_AmtClaimed}, {25, ui->cmb_Type},    {27, ui->cmb_Documents},
        {28, ui->cmb_HApproval}};
    const std::pair<int, QDateEdit*> dates[] = {
        {2, ui->txt_RefDate}, {21, ui->txt_from}, {22, ui->txt_to}};
    const std::pair<int, QLineEdit*> optional[] = {{8, ui->txt_OVillage},   {9, ui->txt_OTehsil},
                                                   {10, ui->txt_OEBlock},   {12, ui->txt_PAddress},
                                                   {13, ui->txt_PVillage},  {14, ui->txt_PTehsil},
                                                   {15, ui->txt_PDistrict}, {16, ui->txt_State}};
    const std::pair<int, QWidget*> trimmed[] = {{30, ui->cmb_doctor},
                                                {31, ui->cmb_BillTime},
                                                {32, ui->txt_DOfficer},
                                                {33, ui->txt_DDesign},
                                                {34, ui->txt_DBranch}};

    for (const auto& [position, control] : plain)
        set_control_text(control, text(position));
    for (const auto& [position, picker] : dates)
        show_date(*picker, row.Fields(position).date());
    for (const auto& [position, box] : optional) {
        const QString stored = text(position);
        if (stored.trimmed() != kDashMarker)
            set_control_text(box, stored);
    }
    if (text(25).trimmed() != "Self")
        set_control_text(ui->txt_DIncome, text(26));
    if (text(28).trimmed() == "Yes")
        set_control_text(ui->txt_HAmount, text(29));
    for (const auto& [position, control] : trimmed)
        set_control_text(control, text(position).trimmed());
}
