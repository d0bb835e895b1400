// CSV export of list reports, read back with an RFC 4180 reader: awkward
// texts survive the round trip and every row is one record.
#include "csv_read.h"
#include "reports/csv_export.h"
#include "reports/tabular_report.h"
#include "sample_reports.h"

#include <QDate>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace reports {
namespace {

using testing::readCsv;

TEST(CsvExport, RoundTripsAwkwardTextsOneRecordPerRow) {
    TabularReport report;
    report.setColumns({{"Name, full", 1000, Qt::AlignLeft, plainText, false},
                       {"Date", 1000, Qt::AlignLeft, dateText("dd-MM-yyyy"), false},
                       {"Amount", 1000, Qt::AlignRight, numberText(2), true}});
    const QStringList names = {
        "Singh, Harpreet", "Kaur \"Pinky\"", "ਹਰਪ੍ਰੀਤ ਸਿੰਘ, ਪਟਿਆਲਾ", "Two\nlines", "\"", "",
    };
    QList<QVariantList> rows;
    for (const QString& name : names)
        rows.append({name, QDate(2007, 3, 5), 1200.5});
    report.setRows(rows);

    const QByteArray bytes = csvText(report);
    ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF")) << "UTF-8 byte order mark";
    const std::vector<QStringList> records = readCsv(QString::fromUtf8(bytes.mid(3)));

    ASSERT_EQ(records.size(), size_t(names.size() + 1));
    EXPECT_EQ(records[0], QStringList({"Name, full", "Date", "Amount"}));
    for (qsizetype i = 0; i < names.size(); ++i)
        EXPECT_EQ(records[i + 1], QStringList({names[i], "05-03-2007", "1200.50"}));
    EXPECT_TRUE(bytes.contains("\r\n\"Singh, Harpreet\",05-03-2007,1200.50\r\n"));
}

TEST(CsvExport, WritesTheFileAndReportsWhyItCannot) {
    QTemporaryDir dir;
    const TabularReport report = testing::sampleList(25);
    const QString path = dir.filePath("list.csv");
    QString error;
    ASSERT_TRUE(exportCsv(report, path, &error)) << error.toStdString();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), csvText(report));

    EXPECT_FALSE(exportCsv(report, dir.filePath("missing/folder/list.csv"), &error));
    EXPECT_FALSE(error.isEmpty());
}

} // namespace
} // namespace reports
