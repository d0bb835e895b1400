// Two programs on one file: two writers save 500 claims each through the entry form at the same
// time, each proposing numbers the other may take first. Every claim must be stored once, whole,
// under a number of its own, and no clerk may see a database error ("database is locked").
#include "qt_printing.h"
#include "stored_claims.h"
#include "writer_process.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <iostream>
#include <map>
#include <set>

namespace acceptance {
namespace {

constexpr int kClaimsEach = 500;
constexpr int kFirstNumber = 101;

TEST(TwoPrograms, FiveHundredClaimsEachAtTheSameTime) {
    QTemporaryDir data;
    ASSERT_TRUE(data.isValid());
    { const OpenRegister created(data.path()); }

    const QStringList tags{"A", "B"};
    std::vector<std::unique_ptr<WriterProcess>> writers;
    for (const QString& tag : tags) {
        writers.push_back(std::make_unique<WriterProcess>(
            QStringList{"save", data.path(), tag, QString::number(kClaimsEach)}));
        ASSERT_EQ(writers.back()->next_line(), "ready") << writers.back()->errors().toStdString();
    }
    QElapsedTimer clock;
    clock.start();
    for (auto& writer : writers)
        writer->tell("go");

    std::map<QString, std::int64_t> told; // "A-17" -> the number the clerk was told
    int moved = 0;
    for (int w = 0; w < 2; ++w) {
        WriterProcess& writer = *writers[w];
        ASSERT_EQ(writer.finish(600000), 0)
            << tags[w].toStdString() << ": " << writer.lines().join('\n').right(500).toStdString()
            << writer.errors().toStdString();
        std::int64_t before = 0;
        for (const QString& line : writer.lines()) {
            const QStringList words = line.split(' ');
            if (words[0] != "saved")
                continue;
            const std::int64_t number = words[2].toLongLong();
            told[tags[w] + '-' + words[1]] = number;
            moved += words.value(3) == "moved" ? 1 : 0;
            EXPECT_GT(number, before) << "a writer's numbers rise";
            before = number;
        }
    }
    const double seconds = clock.elapsed() / 1000.0;
    ASSERT_EQ(told.size(), 2u * kClaimsEach);

    const OpenRegister reopened(data.path());
    EXPECT_EQ(integrity_check(), QStringList{"ok"});
    const std::vector<StoredRow> rows = stored_rows();
    ASSERT_EQ(rows.size(), 2u * kClaimsEach) << "no claim lost, none doubled";
    std::set<std::int64_t> numbers;
    for (const StoredRow& row : rows) {
        const std::int64_t refno = std::int64_t(row.at("refno").number());
        numbers.insert(refno);
        const QString id = row.at("empname").text().section(' ', 1);
        const auto told_number = told.find(id);
        ASSERT_NE(told_number, told.end()) << "claim " << refno << " is nobody's";
        EXPECT_EQ(told_number->second, refno)
            << id.toStdString() << " is not where its clerk was told";
        const QStringList wrong = differences(
            saved_row(numbered_claim(id.section('-', 0, 0), id.section('-', 1).toInt()), refno),
            row);
        EXPECT_TRUE(wrong.isEmpty()) << id.toStdString() << ":\n" << wrong.join('\n').toStdString();
    }
    // Each save takes the largest number plus one at that moment: no number is skipped either.
    EXPECT_EQ(numbers.size(), 2u * kClaimsEach);
    EXPECT_EQ(*numbers.begin(), kFirstNumber);
    EXPECT_EQ(*numbers.rbegin(), kFirstNumber + 2 * kClaimsEach - 1);

    std::cout << 2 * kClaimsEach << " claims saved by two programs at once in " << seconds << " s; "
              << moved << " of them found their proposed number taken meanwhile" << std::endl;
    EXPECT_GT(moved, 0) << "the two writers never met: the test proved nothing";
}

} // namespace
} // namespace acceptance
