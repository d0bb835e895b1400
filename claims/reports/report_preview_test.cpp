// The report viewer on the offscreen platform: the same pages as the PDF, paging, and print and
// export through injected dialogs so that no test waits for a user.
#include "pdf_text.h"
#include "reports/page_renderer.h"
#include "reports/report_preview.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QPrinter>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace reports {
namespace {

// Exported where the clerk chose, with the extension added, the PDF has the pages the viewer
// shows; a cancelled choice writes nothing and one that cannot be written says why. Printed, the
// pages chosen in the print dialog come out, in landscape.
TEST(ReportPreview, PagesThroughPrintsAndExportsWhatThePdfHolds) {
    QTemporaryDir dir;
    TabularReport report = testing::sampleList(300);
    ReportPreview preview{report};
    QString path = dir.filePath("chosen");
    QStringList errors;
    ReportPreview::Dialogs dialogs;
    dialogs.saveFileName = [&](QWidget*, const QString&, const QString&) { return path; };
    dialogs.setUpPrinter = [&](QWidget*, QPrinter& printer, int) {
        EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath("printed.pdf"));
        printer.setPrintRange(QPrinter::PageRange);
        printer.setFromTo(2, 4);
        return true;
    };
    dialogs.showError = [&](QWidget*, const QString&, const QString& m) { errors << m; };
    preview.setDialogs(dialogs);
    preview.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&preview));
    const auto trigger = [&](const char* action) {
        preview.findChild<QAction*>(action)->trigger();
    };

    trigger("actionExportPdf");
    const int count = int(testing::pdfPages(dir.filePath("chosen.pdf")).size());
    EXPECT_EQ(preview.pageCount(), count);
    EXPECT_EQ(preview.findChild<QLabel*>("pageCount")->text(), QString("of %1").arg(count));
    const struct {
        const char* action;
        int page;
    } steps[] = {{"actionNextPage", 2},
                 {"actionLastPage", count},
                 {"actionPreviousPage", count - 1},
                 {"actionFirstPage", 1}};
    for (const auto& step : steps) {
        trigger(step.action);
        EXPECT_EQ(preview.currentPage(), step.page) << step.action;
        EXPECT_EQ(preview.findChild<QSpinBox*>("pageNumber")->value(), step.page);
    }
    preview.findChild<QSpinBox*>("pageNumber")->setValue(3);
    EXPECT_EQ(preview.currentPage(), 3);

    trigger("actionPrint");
    const QStringList printed = testing::pdfPages(dir.filePath("printed.pdf"));
    ASSERT_EQ(printed.size(), 3);
    EXPECT_TRUE(printed[0].contains(QString("Page 2 of %1").arg(count)));

    path.clear(); // cancelled
    trigger("actionExportPdf");
    path = dir.filePath("no/such/folder/list.pdf");
    trigger("actionExportPdf");
    EXPECT_EQ(errors, QStringList(path + " could not be written: No such file or directory"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList({"chosen.pdf", "printed.pdf"}));
}

} // namespace
} // namespace reports
