// Runs pdftotext and parses its output, and builds the sample list, for the report tests.
#include "pdf_text.h"

#include "reports/page_renderer.h"

#include <QDate>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace reports::testing {

QStringList pdfPages(const QString& path) {
    QProcess process;
    process.start("pdftotext", {"-layout", path, "-"});
    const bool finished = process.waitForFinished(60000);
    EXPECT_TRUE(finished && process.exitCode() == 0)
        << "pdftotext " << path.toStdString() << ": "
        << process.readAllStandardError().toStdString();
    QStringList pages = QString::fromUtf8(process.readAllStandardOutput()).split(u'\f');
    // Every page ends in a form feed, the last one too.
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

QStringList printedPages(PagedReport& report) {
    QTemporaryDir dir;
    const QString path = dir.filePath("report.pdf");
    QString error;
    EXPECT_TRUE(exportPdf(report, path, &error)) << error.toStdString();
    return pdfPages(path);
}

QString sampleKey(int row) {
    return QStringLiteral("K%1").arg(row + 1, 5, 10, QLatin1Char('0'));
}

TabularReport sampleList(int rowCount) {
    TabularReport report;
    report.setTitle("List of Sample Cases");
    report.setHeaderLines({"Period: 01-01-2024 to 31-12-2024", "District: All Districts"});
    report.setColumns({
        {"Key", 1000, Qt::AlignLeft, plainText, false},
        {"Name", 2000, Qt::AlignLeft, plainText, false},
        {"Date", 1300, Qt::AlignLeft, dateText("dd-MM-yyyy"), false},
        {"Amount Claimed", 1600, Qt::AlignRight, numberText(2), true},
        {"Status", 1400, Qt::AlignLeft, plainText, false},
    });
    QList<QVariantList> rows;
    for (int i = 0; i < rowCount; ++i)
        rows.append({sampleKey(i), QStringLiteral("Name %1").arg(i), QDate(2024, 3, 5).addDays(i),
                     i * 10 + 0.5, i % 2 ? "Pending" : "Sanctioned"});
    report.setRows(rows);
    report.setFooterCaptions("Number of cases", "Total");
    return report;
}

} // namespace reports::testing
