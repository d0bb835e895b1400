// CSV export of list reports: quoting as spreadsheet programs read it, and text that would run
// as a formula kept as text. Writing the file is tried through the case list's viewer.
#include "reports/csv_export.h"
#include "reports/page_renderer.h"
#include "reports/tabular_report.h"
#include "sample_reports.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace reports {
namespace {

TEST(CsvExport, QuotesAndGuardsEachField) {
    const struct {
        QVariant value;
        const char* field;
    } cases[] = {
        {"Singh, Harpreet", "\"Singh, Harpreet\""},
        {"Kaur \"Pinky\"", "\"Kaur \"\"Pinky\"\"\""},
        {"Two\nlines", "\"Two\nlines\""},
        {QString::fromUtf8("ਹਰਪ੍ਰੀਤ"), "ਹਰਪ੍ਰੀਤ"},
        {"=SUM(A1:A9)", "'=SUM(A1:A9)"},
        {"+91 98140", "'+91 98140"},
        {"-x", "'-x"},
        {"@cmd", "'@cmd"},
        {"=1,2", "\"'=1,2\""},
        {"-", "-"}, // the dash of an empty address
        {-1200.5, "-1200.50"},
        {QVariant(), ""},
    };
    for (const auto& c : cases) {
        TabularReport report;
        report.setColumns({{"A, B", 1000, Qt::AlignLeft, numberText(2), false},
                           {"C", 1000, Qt::AlignLeft, plainText, false}});
        report.setRows({{c.value, 7}});
        EXPECT_EQ(csvText(report), QByteArray("\xEF\xBB\xBF\"A, B\",C\r\n") + c.field + ",7\r\n")
            << c.field;
    }
}

// Cancelled halfway, a PDF or CSV export leaves no file under the chosen name, nor beside it, and
// an older file of that name as it was.
TEST(Export, CancelledHalfwayLeavesNoFileAndAnOlderOneAsItWas) {
    const TabularReport report = testing::sampleList(1200);
    const struct {
        const char* file;
        std::function<bool(const QString&, QString*, const Progress&)> write;
    } exports[] = {{"list.pdf",
                    [&](const QString& path, QString* error, const Progress& progress) {
                        TabularReport copy = report;
                        return exportPdf(copy, path, error, progress);
                    }},
                   {"list.csv", [&](const QString& path, QString* error, const Progress& progress) {
                        return exportCsv(report, path, error, progress);
                    }}};
    for (const auto& e : exports) {
        for (const bool older : {false, true}) {
            SCOPED_TRACE(std::string(e.file) + (older ? " over an older file" : ""));
            QTemporaryDir dir;
            const QString path = dir.filePath(e.file);
            QFile file(path);
            ASSERT_TRUE(!older || (file.open(QIODevice::WriteOnly) && file.write("older") == 5));
            file.close();
            qint64 stoppedAt = 0, total = 0;
            QString error = "unset";
            EXPECT_FALSE(e.write(path, &error, [&](qint64 done, qint64 all) {
                stoppedAt = done;
                total = all;
                return done < all / 2;
            }));
            EXPECT_TRUE(error.isEmpty()) << error.toStdString();
            EXPECT_GT(stoppedAt, 0);
            EXPECT_LT(stoppedAt, total);
            EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                      older ? QStringList(e.file) : QStringList());
            ASSERT_EQ(file.open(QIODevice::ReadOnly), older);
            EXPECT_EQ(file.readAll(), older ? "older" : "");
        }
    }
}

} // namespace
} // namespace reports
