// The search statements over the full-text table of the claims' words.
#include "claim_search.h"

#include "connection.h"
#include "recordset.h"
#include "search_text.h"
#include "values.h"

#include <algorithm>

namespace search {
namespace {

// The full-text query: every typed word as the beginning of a word of the names, and the filters
// as the words of the claim's district and status. Normalised words hold only letters, digits and
// marks, so nothing typed can become an operator of the query, and the query enters the statement
// as a quoted literal.
QString match_literal(const QString& typed, const Filters& filters) {
    QStringList terms;
    for (const QString& word : words(typed))
        terms << "words:" + word + u'*';
    if (terms.isEmpty())
        return {};
    if (!filters.district.isEmpty())
        terms << "facets:" + normalised(filters.district).remove(u' ');
    if (!filters.status.isEmpty())
        terms << "facets:" + normalised(filters.status);
    return store::text_literal(terms.join(u' '));
}

} // namespace

QString lines_statement(const QString& typed, const Filters& filters) {
    const QString match = match_literal(typed, filters);
    if (match.isEmpty())
        return {};
    // One line more than is shown tells whether any more match.
    return "SELECT refno, refdate, empname, pname, odist, amtclaimed, billstatus FROM detail "
           "WHERE id IN (SELECT docid FROM detail_search WHERE detail_search MATCH " +
           match + " ORDER BY docid DESC LIMIT " + QString::number(kMaxLines + 1) +
           ") ORDER BY id DESC";
}

QString count_statement(const QString& typed, const Filters& filters) {
    const QString match = match_literal(typed, filters);
    return match.isEmpty()
               ? QString()
               : "SELECT count(*) FROM detail_search WHERE detail_search MATCH " + match;
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
        findings.more = std::max<std::int64_t>(
            connection.ReadNumber(count_statement(typed, filters)).value_or(0) - kMaxLines, 0);
    return findings;
}

} // namespace search
