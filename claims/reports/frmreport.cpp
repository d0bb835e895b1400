// Selection of the case list over the .ui form, and the showing of the viewer.
#include "reports/frmreport.h"

#include "database_error.h"
#include "dedetail.h"
#include "dialogs.h"
#include "format_date.h"
#include "key_press.h"
#include "module1.h"
#include "pick_only.h"
#include "recordset.h"
#include "reports/frmCRCases.h"
#include "schema.h"
#include "store_error.h"
#include "ui_frmreport.h"
#include "values.h"

#include <QLocale>

using platform::MsgBox;
using platform::MsgBoxStyle;

namespace {

constexpr char kAllDistricts[] = "All Districts";
constexpr char kAllCases[] = "All Cases";

constexpr char kSelectFields[] =
    "SELECT refno,refdate,empname,fname,design,basicpay,odist,pname,page,relation,disease,dfrom,"
    "dto,amtclaimed,billstatus,amtapproved,appdate FROM detail where ";

} // namespace

frmreport::frmreport(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::frmreport>()) {
    ui->setupUi(this);
    for (QDateEdit* picker : {ui->txt_dfrom, ui->txt_dto})
        picker->setLocale(QLocale::c()); // English month names in "dd-MMM-yyyy"
    for (QComboBox* list : {ui->cmb_district, ui->cmb_status})
        platform::MakePickOnly(list);
    platform::OnKeyPress(ui->cmb_district,
                         [this](qint16& KeyAscii) { cmb_district_KeyPress(KeyAscii); });
    platform::OnKeyPress(ui->cmb_status,
                         [this](qint16& KeyAscii) { cmb_status_KeyPress(KeyAscii); });
    connect(ui->cmd_show, &QPushButton::clicked, this, &frmreport::cmd_show_Click);
    connect(ui->cmd_close, &QPushButton::clicked, this, &frmreport::cmd_close_Click);
    Form_Load();
    setFixedSize(sizeHint());
}

frmreport::~frmreport() = default;

QDateEdit* frmreport::txt_dfrom() const {
    return ui->txt_dfrom;
}
QDateEdit* frmreport::txt_dto() const {
    return ui->txt_dto;
}
QComboBox* frmreport::cmb_district() const {
    return ui->cmb_district;
}
QComboBox* frmreport::cmb_status() const {
    return ui->cmb_status;
}
QPushButton* frmreport::cmd_show() const {
    return ui->cmd_show;
}

QString frmreport::district_set(const QString& district) {
    if (district == kAllDistricts)
        return "'" + store::district_names().join("','") + "'";
    return store::text_literal(district);
}

QString frmreport::selectionStatement(const QString& status, const QDate& from, const QDate& to,
                                      const QString& district_set) {
    const QString condition = selectionCondition(status, from, to, district_set);
    return condition.isEmpty() ? QString() : kSelectFields + condition + " order by refno";
}

QString frmreport::selectionCondition(const QString& status, const QDate& from, const QDate& to,
                                      const QString& district_set) {
    const QString period = "refdate between #" + platform::FormatDate(from, "dd-MMM-yyyy") +
                           "# and #" + platform::FormatDate(to, "dd-MMM-yyyy") + "#";
    const QString districts = " and odist in (" + district_set + ")";
    for (const char* word : {"Pending", "Rejected", "Sanctioned"}) {
        if (status == word)
            return period + " and billstatus='" + word + "'" + districts;
    }
    if (status == kAllCases)
        return period + districts;
    return {};
}

void frmreport::Form_Load() {
    ui->txt_dfrom->setDate(QDate::currentDate());
    ui->txt_dto->setDate(QDate::currentDate());
    ui->cmb_district->clear();
    ui->cmb_district->addItem(kAllDistricts);
    ui->cmb_district->addItems(store::district_names());
    ui->cmb_district->setCurrentIndex(-1);
    ui->cmb_status->clear();
    ui->cmb_status->addItems({kAllCases, "Pending", "Rejected", "Sanctioned"});
    ui->cmb_status->setCurrentIndex(-1);
}

void frmreport::cmb_district_KeyPress(qint16& KeyAscii) {
    KeyAscii = 0;
}

void frmreport::cmb_status_KeyPress(qint16& KeyAscii) {
    KeyAscii = 0;
}

void frmreport::cmd_show_Click() {
    if (ui->cmb_district->currentText().trimmed().isEmpty()) {
        MsgBox("Select DISTRICT Please.", MsgBoxStyle::Information, "Field Required");
        ui->cmb_district->setFocus();
        platform::SendF4();
        return;
    }
    if (ui->cmb_status->currentText().trimmed().isEmpty()) {
        MsgBox("Select Status of Bill Please.", MsgBoxStyle::Information, "Field Required");
        ui->cmb_status->setFocus();
        platform::SendF4();
        return;
    }
    try {
        showReport();
    } catch (const store::StoreError& e) {
        report_database_error(QStringLiteral("The cases could not be listed"), e);
    }
}

void frmreport::showReport() {
    using DEDetail::rsdetail;
    const QString district = ui->cmb_district->currentText().trimmed();
    const QString districts = district_set(district);
    frmCRCases::case_report().discardSavedData();
    if (rsdetail.State() == store::adStateOpen)
        rsdetail.Close();
    const QString status = ui->cmb_status->currentText();
    const QDate from = ui->txt_dfrom->date();
    const QDate to = ui->txt_dto->date();
    // The list offers only the four words, so a statement is always found; were it not, the
    // recordset stays closed and counts as finding nothing.
    const QString statement = selectionStatement(status, from, to, districts);
    if (!statement.isEmpty())
        rsdetail.Open(statement, Module1::db_conn, store::adOpenKeyset, store::adLockOptimistic,
                      store::adCmdUnspecified);
    // Counted, not read: reading every row of a long selection here is what held the window.
    const QString condition = selectionCondition(status, from, to, districts);
    if (rsdetail.State() == store::adStateOpen && count(condition) > 0) {
        frmCRCases::case_report().setSelection({from, to, district, status}, QDate::currentDate());
        frmCRCases viewer(condition, this);
        viewer.exec();
    } else {
        MsgBox("No Record Found", MsgBoxStyle::Information, "Sorry");
    }
}

qint64 frmreport::count(const QString& condition) {
    store::Recordset counted;
    counted.Open("SELECT count(*) FROM detail where " + condition, Module1::db_conn);
    return counted.Eof() ? 0 : qint64(counted.Fields(0).number());
}

void frmreport::cmd_close_Click() {
    reject();
}
