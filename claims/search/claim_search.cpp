// The search statements over the word table.
#include "claim_search.h"

#include "connection.h"
#include "recordset.h"
#include "search_text.h"
#include "values.h"

#include <algorithm>

namespace search {
namespace {

QString word_range(const QString& column, const QString& prefix) {
    return column + " >= " + store::text_literal(prefix) + " AND " + column + " < " +
           store::text_literal(prefix_end(prefix));
}

// The rows of the word table that make a claim a match: the longest typed word, which narrows
// most, is read as a range of the key; each other one is looked up among the same claim's words.
QString matching_words(const QString& typed, const Filters& filters) {
    QStringList typed_words = words(typed);
    if (typed_words.isEmpty())
        return {};
    const auto longest =
        std::max_element(typed_words.begin(), typed_words.end(),
                         [](const QString& a, const QString& b) { return a.size() < b.size(); });
    QString condition = " FROM detail_words w WHERE " + word_range("w.word", *longest);
    typed_words.erase(longest);
    if (!filters.district.isEmpty())
        condition += " AND w.odist = " + store::text_literal(filters.district);
    if (!filters.status.isEmpty())
        condition += " AND w.billstatus = " + store::text_literal(filters.status);
    typed_words.removeDuplicates();
    for (const QString& other : typed_words)
        condition += " AND EXISTS (SELECT 1 FROM detail_words x WHERE x.refno = w.refno AND " +
                     word_range("x.word", other) + ")";
    return condition;
}

} // namespace

QString lines_statement(const QString& typed, const Filters& filters) {
    const QString matching = matching_words(typed, filters);
    if (matching.isEmpty())
        return {};
    // One line more than is shown tells whether any more match.
    return "SELECT refno, refdate, empname, pname, odist, amtclaimed, billstatus FROM detail "
           "WHERE refno IN (SELECT DISTINCT w.refno" +
           matching + " ORDER BY w.refno DESC LIMIT " + QString::number(kMaxLines + 1) +
           ") ORDER BY refno DESC";
}

QString count_statement(const QString& typed, const Filters& filters) {
    const QString matching = matching_words(typed, filters);
    return matching.isEmpty() ? QString() : "SELECT count(DISTINCT w.refno)" + matching;
}

Findings find_claims(store::Connection& connection, const QString& typed, const Filters& filters) {
    Findings findings;
    const QString statement = lines_statement(typed, filters);
    if (statement.isEmpty())
        return findings;
    store::Recordset rows;
    rows.Open(statement, connection);
    for (; !rows.Eof() && findings.lines.size() < kMaxLines; rows.MoveNext())
        findings.lines.push_back({rows.Fields(0).text(), rows.Fields(1).date(),
                                  rows.Fields(2).text(), rows.Fields(3).text(),
                                  rows.Fields(4).text(), rows.Fields(5).text(),
                                  rows.Fields(6).text()});
    if (!rows.Eof())
        findings.more =
            connection.ReadNumber(count_statement(typed, filters)).value_or(0) - kMaxLines;
    return findings;
}

} // namespace search
