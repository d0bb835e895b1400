// Renders the bill status form, showing a sanctioned claim, into FOLDER/status-form.png.
// Usage: status_screenshot FOLDER. The claim lives in a throw-away register; the offscreen
// platform, the Fusion style and a fixed font make the picture the same on every machine.
#include "dedetail.h"
#include "frmBillUpdation.h"
#include "module1.h"
#include "store_error.h"

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QLineEdit>
#include <QPixmap>
#include <QTemporaryDir>
#include <cstdio>

namespace {

void close_register() {
    Module1::rs_aux.Close();
    Module1::db_conn.Close();
    DEDetail::Connection1.Close();
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    QApplication::setStyle("Fusion");
    QApplication::setFont(QFont("DejaVu Sans", 9));

    QTemporaryDir data;
    Module1::app_path = data.path();
    const QString picture = QDir(QString::fromLocal8Bit(argv[1])).filePath("status-form.png");
    try {
        Module1::open_database();
        Module1::db_conn.Execute(
            "insert into detail (refno, refdate, empname, fname, design, billstatus, amtapproved, "
            "appdate, remarks) values (104, #12-Feb-2024#, 'Harpreet Kaur', 'Gurdev Singh', "
            "'Senior Assistant', 'Sanctioned', 18450, #05-Mar-2024#, 'Bills verified with the "
            "health department approval')");
        frmBillUpdation form;
        form.show();
        form.findChild<QLineEdit*>("txt_refno")->setText("104");
        if (!form.grab().save(picture)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(picture));
            close_register();
            return 1;
        }
    } catch (const store::StoreError& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.reason()));
        close_register();
        return 1;
    }
    close_register();
    std::printf("%s\n", qPrintable(picture));
    return 0;
}
