// The report viewer on the offscreen platform: the same pages as the PDF, a
// window it fills, paging, and print and export through injected dialogs so
// that no test waits for a user.
#include "pdf_text.h"
#include "reports/page_renderer.h"
#include "reports/report_preview.h"
#include "sample_reports.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace reports {
namespace {

using testing::pdfPages;
using testing::sampleList;

// Dialogs that answer at once and remember what they were asked.
struct ScriptedDialogs {
    QString savePath;
    std::function<bool(QPrinter&)> printerSetUp = [](QPrinter&) { return false; };
    QStringList errors;
    QStringList captions;
    int offeredPageCount = -1;

    ReportPreview::Dialogs dialogs() {
        ReportPreview::Dialogs d;
        d.saveFileName = [this](QWidget*, const QString& caption, const QString&) {
            captions << caption;
            return savePath;
        };
        d.setUpPrinter = [this](QWidget*, QPrinter& printer, int pageCount) {
            offeredPageCount = pageCount;
            return printerSetUp(printer);
        };
        d.showError = [this](QWidget*, const QString&, const QString& message) {
            errors << message;
        };
        return d;
    }
};

QAction* action(QWidget& widget, const char* name) {
    auto* found = widget.findChild<QAction*>(name);
    EXPECT_NE(found, nullptr) << name;
    return found;
}

TEST(ReportPreview, ShowsAsManyPagesAsThePdfAndPagesThroughThem) {
    QTemporaryDir dir;
    TabularReport report = sampleList(300);
    ASSERT_TRUE(exportPdf(report, dir.filePath("list.pdf")));
    const int pdfPageCount = int(pdfPages(dir.filePath("list.pdf")).size());

    ReportPreview preview(report);
    preview.resize(900, 700);
    preview.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&preview));
    EXPECT_EQ(preview.pageCount(), pdfPageCount);

    auto* pageNumber = preview.findChild<QSpinBox*>("pageNumber");
    auto* pageCount = preview.findChild<QLabel*>("pageCount");
    ASSERT_TRUE(pageNumber && pageCount);
    EXPECT_EQ(pageCount->text(), QString("of %1").arg(pdfPageCount));
    EXPECT_EQ(preview.currentPage(), 1);
    EXPECT_FALSE(action(preview, "actionPreviousPage")->isEnabled());

    action(preview, "actionNextPage")->trigger();
    EXPECT_EQ(preview.currentPage(), 2);
    EXPECT_EQ(pageNumber->value(), 2);
    action(preview, "actionLastPage")->trigger();
    EXPECT_EQ(preview.currentPage(), pdfPageCount);
    EXPECT_FALSE(action(preview, "actionNextPage")->isEnabled());
    pageNumber->setValue(3);
    EXPECT_EQ(preview.currentPage(), 3);
    action(preview, "actionFirstPage")->trigger();
    EXPECT_EQ(preview.currentPage(), 1);

    const qreal zoom = preview.previewWidget()->zoomFactor();
    action(preview, "actionZoomIn")->trigger();
    EXPECT_GT(preview.previewWidget()->zoomFactor(), zoom);
    action(preview, "actionFitPage")->trigger();
    EXPECT_EQ(preview.previewWidget()->zoomMode(), QPrintPreviewWidget::FitInView);
}

TEST(ReportPreview, RefreshShowsChangedData) {
    TabularReport report = sampleList(10);
    ReportPreview preview(report);
    preview.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&preview));
    EXPECT_EQ(preview.pageCount(), 1);
    report.setRows(sampleList(300).rows());
    preview.refresh();
    EXPECT_GT(preview.pageCount(), 1);
}

TEST(ReportPreviewDialog, PreviewFillsTheWindowAfterAResize) {
    TabularReport report = sampleList(5);
    ReportPreviewDialog dialog(report, "Sample Cases");
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    for (const QSize size : {QSize(640, 480), QSize(1100, 820), QSize(500, 400)}) {
        dialog.resize(size);
        QApplication::processEvents();
        EXPECT_EQ(dialog.preview()->geometry(), dialog.rect());
        const QRect pages = dialog.preview()->previewWidget()->geometry();
        EXPECT_EQ(pages.width(), size.width());
        EXPECT_EQ(pages.bottom(), dialog.rect().bottom());
    }
    EXPECT_EQ(dialog.windowTitle(), "Sample Cases");
}

TEST(ReportPreview, ExportsAPdfToTheChosenPath) {
    QTemporaryDir dir;
    TabularReport report = sampleList(120);
    ReportPreview preview(report);
    ScriptedDialogs scripted;
    scripted.savePath = dir.filePath("chosen"); // no extension typed
    preview.setDialogs(scripted.dialogs());

    action(preview, "actionExportPdf")->trigger();
    EXPECT_EQ(scripted.captions, QStringList{"Export PDF"});
    const QStringList pages = pdfPages(dir.filePath("chosen.pdf"));
    ASSERT_FALSE(pages.isEmpty());
    EXPECT_TRUE(pages.last().contains(QString("Page %1 of %1").arg(pages.size())));
    EXPECT_TRUE(scripted.errors.isEmpty());

    scripted.savePath.clear(); // the user cancels
    action(preview, "actionExportPdf")->trigger();
    EXPECT_TRUE(scripted.errors.isEmpty());

    scripted.savePath = dir.filePath("no/such/folder/list.pdf");
    action(preview, "actionExportPdf")->trigger();
    ASSERT_EQ(scripted.errors.size(), 1);
    EXPECT_TRUE(scripted.errors[0].contains("list.pdf"));
}

TEST(ReportPreview, PrintsThePagesChosenInThePrintDialog) {
    QTemporaryDir dir;
    TabularReport report = sampleList(300);
    ReportPreview preview(report);
    ScriptedDialogs scripted;
    scripted.printerSetUp = [&](QPrinter& printer) {
        EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape)
            << "the printer starts from the report's page";
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath("printed.pdf"));
        printer.setPrintRange(QPrinter::PageRange);
        printer.setFromTo(2, 4);
        return true;
    };
    preview.setDialogs(scripted.dialogs());
    preview.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&preview));

    action(preview, "actionPrint")->trigger();
    EXPECT_EQ(scripted.offeredPageCount, preview.pageCount());
    const QStringList pages = pdfPages(dir.filePath("printed.pdf"));
    ASSERT_EQ(pages.size(), 3);
    EXPECT_TRUE(pages[0].contains(QString("Page 2 of %1").arg(preview.pageCount())));
    EXPECT_TRUE(scripted.errors.isEmpty());

    scripted.printerSetUp = [&](QPrinter&) { return false; }; // cancelled: nothing printed
    QFile::remove(dir.filePath("printed.pdf"));
    action(preview, "actionPrint")->trigger();
    EXPECT_FALSE(QFile::exists(dir.filePath("printed.pdf")));
}

// Records the cursor the user sees while each page is painted.
class CursorWatchingReport : public TabularReport {
public:
    using TabularReport::TabularReport;
    mutable std::vector<bool> waitCursorShown;
    void paintPage(ReportCanvas& canvas, int index) const override {
        const QCursor* cursor = QGuiApplication::overrideCursor();
        waitCursorShown.push_back(cursor && cursor->shape() == Qt::WaitCursor);
        TabularReport::paintPage(canvas, index);
    }
};

TEST(ReportPreview, ShowsTheWaitCursorWhileRendering) {
    CursorWatchingReport report;
    static_cast<TabularReport&>(report) = sampleList(100);
    ReportPreview preview(report);
    preview.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&preview));
    ASSERT_FALSE(report.waitCursorShown.empty());
    EXPECT_TRUE(std::all_of(report.waitCursorShown.begin(), report.waitCursorShown.end(),
                            [](bool shown) { return shown; }));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

} // namespace
} // namespace reports
