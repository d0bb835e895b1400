// CSV export of list reports: quoting as spreadsheet programs read it, and text that would run
// as a formula kept as text. Writing the file is tried through the case list's viewer.
#include "reports/csv_export.h"
#include "reports/tabular_report.h"

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

} // namespace
} // namespace reports
