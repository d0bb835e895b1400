// Renders the README's pictures: each window of the register as PNG files, and the two reports
// as PDF files whose first pages scripts/screenshots turns into pictures.
//
// Everything works on the demo's claims, made as of a fixed day in a throw-away register, with
// the Fusion style and the DejaVu font, so every run draws the same pictures; only the printed
// date of the consolidated report, which its report window always takes from today, changes.
//
// Usage: screenshots PICTURES_FOLDER REPORTS_FOLDER
#include "VETRA.h"
#include "claim_statements.h"
#include "control_text.h"
#include "dedetail.h"
#include "demo_claims.h"
#include "frmBillEntry.h"
#include "frmBillUpdation.h"
#include "frmLogin.h"
#include "module1.h"
#include "reports/CRDetail.h"
#include "reports/RptPendancy.h"
#include "reports/frmreport.h"
#include "reports/page_renderer.h"
#include "reports/report_preview.h"
#include "store_error.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <stdexcept>

namespace {

// The day the demo's claims are made as of, and the financial year the reports show.
const QDate kToday(2025, 3, 31);
const QDate kFrom(2024, 4, 1);
const QDate kTo(2025, 3, 31);
const QDate kPrinted(2025, 4, 7);

QDir pictures;
QDir reports_folder;

void save(QWidget& window, const QString& name) {
    window.show();
    QApplication::processEvents();
    const QString path = pictures.filePath(name);
    if (!window.grab().save(path))
        throw std::runtime_error("cannot write " + path.toStdString());
    std::printf("%s\n", qPrintable(path));
}

// The first claim of the year that fills every box: a dependant's with an income, approved by
// the health department and sanctioned.
QString showcase_claim(const std::vector<demo::SampleClaim>& claims) {
    for (const demo::SampleClaim& c : claims)
        if (c.refdate >= kFrom && c.dependpay != "0" && c.apphealth == "Yes" &&
            c.billstatus == "Sanctioned" && c.oblkname != "-" && c.rteh != "-")
            return c.refno;
    throw std::runtime_error("the demo has no claim to show");
}

void sign_in() {
    frmLogin form;
    auto* id = form.findChild<QLineEdit*>("txt_uid");
    id->setText("KROVE");
    form.findChild<QLineEdit*>("txt_pass")->setText("739");
    form.show();
    id->deselect();
    save(form, "signin.png");
}

// The main window with its Forms menu open, as a clerk sees it after signing in.
void main_window() {
    VETRA window;
    window.setWindowState(Qt::WindowNoState);
    window.resize(600, 320);
    for (QAction* item :
         {window.mnuAddCase, window.mnu_StatusUpdation, window.mnu_list, window.mnu_pendancy})
        item->setEnabled(true);
    window.show();
    QApplication::processEvents();
    // The menu opens as a window of its own: drawn into the picture where it stands.
    window.menuBar()->setActiveAction(window.mnu_Entry->menuAction());
    window.mnu_Entry->setActiveAction(window.mnuAddCase);
    QApplication::processEvents();
    QPixmap picture = window.grab();
    QPainter painter(&picture);
    painter.drawPixmap(window.mapFromGlobal(window.mnu_Entry->pos()), window.mnu_Entry->grab());
    painter.end();
    window.mnu_Entry->hide();
    const QString path = pictures.filePath("main-window.png");
    if (!picture.save(path))
        throw std::runtime_error("cannot write " + path.toStdString());
    std::printf("%s\n", qPrintable(path));
}

// A stored claim found and opened for change.
void entry_form(const QString& refno) {
    frmBillEntry form;
    Module1::rs_aux.Open("Select * from detail where refno=" + refno, Module1::db_conn,
                         store::adOpenKeyset, store::adLockPessimistic);
    form.show_record();
    form.cmd_edit_Click();
    form.show();
    form.findChild<QLineEdit*>("txt_EmpName")->deselect(); // focused, but nothing selected
    save(form, "entry-form.png");
}

void status_form(const QString& refno) {
    frmBillUpdation form;
    form.findChild<QLineEdit*>("txt_refno")->setText(refno);
    save(form, "status-form.png");
}

void report_generator() {
    frmreport form;
    form.txt_dfrom()->setDate(kFrom);
    form.txt_dto()->setDate(kTo);
    set_control_text(form.cmb_district(), "All Districts");
    set_control_text(form.cmb_status(), "All Cases");
    form.show();
    form.cmd_show()->setFocus(); // as after a click on it
    save(form, "report-generator.png");
}

void case_list() {
    DEDetail::rsdetail.Open(frmreport::selectionStatement("All Cases", kFrom, kTo,
                                                          frmreport::district_set("All Districts")),
                            Module1::db_conn, store::adOpenKeyset, store::adLockOptimistic);
    CRDetail report;
    report.setSelection({kFrom, kTo, "All Districts", "All Cases"}, kPrinted);
    report.setDataSource(DEDetail::rsdetail);
    QString error;
    if (!reports::exportPdf(report, reports_folder.filePath("case-list-report.pdf"), &error))
        throw std::runtime_error(error.toStdString());
}

// The form with its grid counted, then "Report" exported from its report window.
void consolidated_report() {
    RptPendancy form;
    form.txt_from()->setDate(kFrom);
    form.txt_to()->setDate(kTo);
    form.show();
    form.cmd_show_Click();
    form.cmd_show()->setFocus(); // as after a click on it
    save(form, "pendency-form.png");

    const QString pdf = reports_folder.filePath("pendency-report.pdf");
    QTimer::singleShot(0, [&pdf] {
        auto* window =
            qobject_cast<reports::ReportPreviewDialog*>(QApplication::activeModalWidget());
        if (!window)
            return;
        reports::ReportPreview::Dialogs dialogs;
        dialogs.saveFileName = [&pdf](QWidget*, const QString&, const QString&) { return pdf; };
        window->preview()->setDialogs(dialogs);
        window->findChild<QAction*>("actionExportPdf")->trigger();
        window->reject();
    });
    form.cmd_print_Click();
    if (!QFile::exists(pdf))
        throw std::runtime_error("the consolidated report was not written");
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s PICTURES_FOLDER REPORTS_FOLDER\n", argv[0]);
        return 2;
    }
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    QApplication::setFont(QFont("DejaVu Sans", 9));
    pictures.setPath(QString::fromLocal8Bit(argv[1]));
    reports_folder.setPath(QString::fromLocal8Bit(argv[2]));

    QTemporaryDir register_folder;
    Module1::app_path = register_folder.path();
    try {
        const std::vector<demo::SampleClaim> claims = demo::demo_claims(kToday);
        Module1::open_database();
        demo::save_claims(Module1::db_conn, claims);
        const QString shown = showcase_claim(claims);
        sign_in();
        main_window();
        entry_form(shown);
        status_form(shown);
        report_generator();
        case_list();
        consolidated_report();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    Module1::rs_main.Close();
    Module1::rs_aux.Close();
    DEDetail::rsdetail.Close();
    Module1::db_conn.Close();
    DEDetail::Connection1.Close();
    return 0;
}
