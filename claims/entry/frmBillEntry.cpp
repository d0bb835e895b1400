// The entry form's controls, key rules, load routine, selection switches and its two routines
// that empty and switch the entry controls.
#include "frmBillEntry.h"

#include "Class1.h"
#include "control_text.h"
#include "date_picker.h"
#include "fillcombo.h"
#include "key_press.h"
#include "pick_only.h"
#include "ui_frmBillEntry.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>

namespace {

constexpr qint16 kSingleQuote = 39;

} // namespace

frmBillEntry::frmBillEntry(QWidget* parent)
    : QDialog(parent,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      ui(std::make_unique<Ui::frmBillEntry>()) {
    ui->setupUi(this);
    for (QDateEdit* picker : {ui->txt_RefDate, ui->txt_from, ui->txt_to})
        setup_date_picker(*picker);
    for (QComboBox* combo : {ui->cmb_district, ui->cmb_Type, ui->cmb_Documents, ui->cmb_HApproval,
                             ui->cmb_doctor, ui->cmb_BillTime})
        platform::MakePickOnly(combo);
    align_label_columns();
    set_key_rules();
    connect_handlers();
    Form_Load();
}

frmBillEntry::~frmBillEntry() = default;

// Labels of the frames in one column share a width, so the boxes of a column line up.
void frmBillEntry::align_label_columns() {
    const auto align = [](std::initializer_list<QGroupBox*> frames) {
        int widest = 0;
        for (QGroupBox* frame : frames) {
            const QLayout* grid = frame->layout();
            for (const QLabel* label : frame->findChildren<QLabel*>())
                if (grid->indexOf(label) >= 0) // the label column, not the From/To labels
                    widest = std::max(widest, label->sizeHint().width());
        }
        for (QGroupBox* frame : frames)
            static_cast<QGridLayout*>(frame->layout())->setColumnMinimumWidth(0, widest);
    };
    align({ui->Frame1, ui->Frame3, ui->Frame4, ui->Frame5});
    align({ui->Frame6, ui->Frame7, ui->Frame8});
}

void frmBillEntry::set_key_rules() {
    for (QLineEdit* number :
         {ui->txt_age, ui->txt_AmtClaimed, ui->txt_DIncome, ui->txt_HAmount, ui->txt_Pay})
        platform::OnKeyPress(
            number, [this](qint16& KeyAscii) { Module1::key_check.only_numeric(KeyAscii, this); });
    for (QLineEdit* text :
         {ui->txt_DBranch, ui->txt_DDesign, ui->txt_Design, ui->txt_Disease, ui->txt_DOfficer,
          ui->txt_EmpName, ui->txt_Fname, ui->txt_Hospital, ui->txt_OAddress, ui->txt_OEBlock,
          ui->txt_OTehsil, ui->txt_OVillage, ui->txt_PAddress, ui->txt_PDistrict, ui->txt_pname,
          ui->txt_PTehsil, ui->txt_PVillage, ui->txt_Relation, ui->txt_State})
        platform::OnKeyPress(text, [](qint16& KeyAscii) {
            if (KeyAscii == kSingleQuote)
                KeyAscii = 0;
        });
    for (QComboBox* combo : {ui->cmb_BillTime, ui->cmb_district, ui->cmb_doctor, ui->cmb_Documents,
                             ui->cmb_HApproval, ui->cmb_Type})
        platform::OnKeyPress(combo, [](qint16& KeyAscii) { KeyAscii = 0; });
}

void frmBillEntry::connect_handlers() {
    // activated() is a choice from the list; text the program writes does not emit it.
    connect(ui->cmb_Type, &QComboBox::activated, this, &frmBillEntry::cmb_Type_Click);
    connect(ui->cmb_HApproval, &QComboBox::activated, this, &frmBillEntry::cmb_HApproval_Click);
    connect(ui->cmd_addnew, &QPushButton::clicked, this, &frmBillEntry::cmd_addnew_Click);
    connect(ui->cmd_save, &QPushButton::clicked, this, &frmBillEntry::cmd_save_Click);
    connect(ui->cmd_close, &QPushButton::clicked, this, &frmBillEntry::cmd_close_Click);
    connect(ui->cmd_find, &QPushButton::clicked, this, &frmBillEntry::cmd_find_Click);
    connect(ui->cmd_edit, &QPushButton::clicked, this, &frmBillEntry::cmd_edit_Click);
    connect(ui->cmd_delete, &QPushButton::clicked, this, &frmBillEntry::cmd_delete_Click);
    connect(ui->cmd_reset, &QPushButton::clicked, this, &frmBillEntry::cmd_reset_Click);
}

void frmBillEntry::Form_Load() {
    clear_fields();
    const QDate today = QDate::currentDate();
    for (QDateEdit* picker : {ui->txt_RefDate, ui->txt_from, ui->txt_to})
        picker->setDate(today);
    Module1::fillcombo(*ui->cmb_district);
    fill_list(*ui->cmb_Documents, {"No", "Yes", "Incomplete"});
    fill_list(*ui->cmb_HApproval, {"No", "Yes"});
    fill_list(*ui->cmb_Type, {"Self", "Dependent"});
    fill_list(*ui->cmb_BillTime, {"No", "Yes"});
    fill_list(*ui->cmb_doctor, {"No", "Yes"});
    enable_fields(false);
    ui->cmd_save->setEnabled(false);
    ui->cmd_edit->setEnabled(false);
    ui->cmd_delete->setEnabled(false);
    ui->cmd_addnew->setEnabled(true);
    ui->txt_DIncome->setEnabled(false);
    ui->txt_HAmount->setEnabled(false);
    ui->cmd_save->setText("SAVE");
    ui->cmd_find->setEnabled(true);
}

void frmBillEntry::cmb_Type_Click() {
    const QString type = ui->cmb_Type->currentText().trimmed();
    if (type == "Dependent") {
        ui->txt_DIncome->setEnabled(true);
        ui->txt_DIncome->clear();
    } else if (type == "Self") {
        ui->txt_DIncome->setEnabled(false);
        ui->txt_DIncome->clear();
    }
}

void frmBillEntry::cmb_HApproval_Click() {
    ui->txt_HAmount->clear();
    ui->txt_HAmount->setEnabled(ui->cmb_HApproval->currentText().trimmed() == "Yes");
}

void frmBillEntry::clear_fields() {
    for (QWidget* control : std::initializer_list<QWidget*>{
             ui->txt_refno,      ui->txt_EmpName,   ui->txt_Fname,    ui->txt_Design,
             ui->txt_Pay,        ui->txt_OAddress,  ui->txt_OVillage, ui->txt_OTehsil,
             ui->txt_OEBlock,    ui->cmb_district,  ui->txt_PAddress, ui->txt_PVillage,
             ui->txt_PTehsil,    ui->txt_PDistrict, ui->txt_State,    ui->txt_pname,
             ui->txt_age,        ui->txt_Relation,  ui->txt_Disease,  ui->txt_Hospital,
             ui->txt_AmtClaimed, ui->cmb_Type,      ui->txt_DIncome,  ui->cmb_Documents,
             ui->cmb_HApproval,  ui->txt_HAmount,   ui->cmb_doctor,   ui->cmb_BillTime,
             ui->txt_DOfficer,   ui->txt_DDesign,   ui->txt_DBranch})
        empty_control(control);
}

void frmBillEntry::enable_fields(bool flag) {
    for (QWidget* control : std::initializer_list<QWidget*>{
             ui->txt_refno,    ui->txt_RefDate,   ui->txt_EmpName,   ui->txt_Fname,
             ui->txt_Design,   ui->txt_Pay,       ui->txt_OAddress,  ui->txt_OVillage,
             ui->txt_OTehsil,  ui->txt_OEBlock,   ui->cmb_district,  ui->txt_PAddress,
             ui->txt_PVillage, ui->txt_PTehsil,   ui->txt_PDistrict, ui->txt_State,
             ui->txt_pname,    ui->txt_age,       ui->txt_Relation,  ui->txt_Disease,
             ui->txt_from,     ui->txt_to,        ui->txt_Hospital,  ui->txt_AmtClaimed,
             ui->cmb_Type,     ui->cmb_Documents, ui->cmb_HApproval, ui->cmb_doctor,
             ui->cmb_BillTime, ui->txt_DOfficer,  ui->txt_DDesign,   ui->txt_DBranch})
        control->setEnabled(flag);
}

void frmBillEntry::cmd_close_Click() {
    reject();
}

// Escape would close the form and drop what was typed; only CLOSE and the close box do that.
void frmBillEntry::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
