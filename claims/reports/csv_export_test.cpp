// CSV export of list reports: quoting as spreadsheet programs read it, and text that would run
// as a formula kept as text; exports of both kinds that stop halfway.
#include "pdf_text.h"
#include "reports/csv_export.h"
#include "reports/page_renderer.h"
#include "test_files.h"

#include <QDir>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

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

// A PDF or CSV export cancelled halfway, or failing halfway as on a full disk (here under a file
// size limit), leaves an older file of the chosen name as it was and no file beside it; only the
// failure has a reason to tell.
TEST(Export, CancelledOrFailedHalfwayLeavesAnOlderFileAsItWas) {
    const TabularReport report = testing::sampleList(1200);
    for (const QString file : {"list.pdf", "list.csv"}) {
        for (const bool cancelled : {true, false}) {
            SCOPED_TRACE((file + (cancelled ? " cancelled" : " failed")).toStdString());
            QTemporaryDir dir;
            const QString older = dir.filePath(file);
            store::test::write_bytes(older, "older");
            qint64 stoppedAt = 0, total = 0;
            const Progress progress = [&](qint64 done, qint64 all) {
                stoppedAt = done;
                total = all;
                return !cancelled || done < all / 2;
            };
            rlimit usual{};
            getrlimit(RLIMIT_FSIZE, &usual);
            const rlimit limit{cancelled ? usual.rlim_cur : 20000, usual.rlim_max};
            signal(SIGXFSZ, SIG_IGN); // a write past the limit fails as on a full disk
            setrlimit(RLIMIT_FSIZE, &limit);
            QString error = "unset";
            TabularReport copy = report;
            const bool written = file.endsWith("pdf") ? exportPdf(copy, older, &error, progress)
                                                      : exportCsv(report, older, &error, progress);
            setrlimit(RLIMIT_FSIZE, &usual);
            EXPECT_FALSE(written);
            EXPECT_EQ(error, cancelled ? "" : "File too large");
            EXPECT_TRUE(!cancelled || (stoppedAt > 0 && stoppedAt < total)) << stoppedAt;
            EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList(file));
            EXPECT_EQ(store::test::file_bytes(older), "older");
        }
    }
}

} // namespace
} // namespace reports
