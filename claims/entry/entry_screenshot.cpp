// Renders the entry form in new claim mode, filled with a sample claim as a clerk would type it,
// into OUTDIR/entry-form.png. It works on a throw-away register in a temporary folder and always
// renders with the same style and font, so the picture depends only on the form.
#include "control_text.h"
#include "dedetail.h"
#include "frmBillEntry.h"
#include "module1.h"

#include <QApplication>
#include <QDateEdit>
#include <QDir>
#include <QFont>
#include <QLineEdit>
#include <QPixmap>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <cstdio>

namespace {

void fill_sample_claim(frmBillEntry& form) {
    const std::pair<const char*, const char*> values[] = {
        {"txt_EmpName", "Harpreet Kaur"},
        {"txt_Fname", "Gurdev Singh"},
        {"txt_Design", "Lecturer (Physics)"},
        {"txt_Pay", "18,450"},
        {"txt_OAddress", "Govt. Senior Secondary School, Mall Road"},
        {"txt_OVillage", "Nabha"},
        {"txt_OTehsil", "Nabha"},
        {"txt_OEBlock", "Nabha-2"},
        {"cmb_district", "Patiala"},
        {"txt_PAddress", "House 214, Ward 6"},
        {"txt_PVillage", "Nabha"},
        {"txt_PTehsil", "Nabha"},
        {"txt_PDistrict", "Patiala"},
        {"txt_State", "Punjab"},
        {"txt_pname", "Gurdev Singh"},
        {"txt_age", "67"},
        {"txt_Relation", "Father"},
        {"txt_Disease", "Coronary artery disease (angioplasty)"},
        {"txt_Hospital", "Rajindra Hospital, Patiala"},
        {"txt_AmtClaimed", "1,42,300"},
        {"cmb_Type", "Dependent"},
        {"txt_DIncome", "3,500"},
        {"cmb_Documents", "Yes"},
        {"cmb_HApproval", "Yes"},
        {"txt_HAmount", "1,38,000"},
        {"cmb_doctor", "Yes"},
        {"cmb_BillTime", "Yes"},
        {"txt_DOfficer", "S. K. Sharma"},
        {"txt_DDesign", "Superintendent"},
        {"txt_DBranch", "Medical Reimbursement"},
    };
    form.cmd_addnew_Click();
    for (const auto& [name, value] : values)
        set_control_text(form.findChild<QWidget*>(name), value);
    form.findChild<QLineEdit*>("txt_DIncome")->setEnabled(true);
    form.findChild<QLineEdit*>("txt_HAmount")->setEnabled(true);
    form.findChild<QDateEdit*>("txt_RefDate")->setDate(QDate(2007, 3, 5));
    form.findChild<QDateEdit*>("txt_from")->setDate(QDate(2007, 1, 12));
    form.findChild<QDateEdit*>("txt_to")->setDate(QDate(2007, 1, 27));
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTDIR\n", argv[0]);
        return 2;
    }
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    QApplication::setFont(QFont("DejaVu Sans", 9));

    QTemporaryDir register_folder;
    Module1::app_path = register_folder.path();
    Module1::open_database();

    frmBillEntry form;
    fill_sample_claim(form);
    form.show();
    QApplication::processEvents();
    form.findChild<QLineEdit*>("txt_EmpName")->deselect(); // focused, but nothing selected

    const QString path = QDir(QString::fromLocal8Bit(argv[1])).filePath("entry-form.png");
    const bool saved = form.grab().save(path);
    Module1::rs_main.Close();
    Module1::rs_aux.Close();
    Module1::db_conn.Close();
    DEDetail::Connection1.Close();
    if (!saved) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 1;
    }
    std::printf("%s\n", qPrintable(path));
    return 0;
}
