// The case list's columns and the reading of its rows from a recordset.
#include "reports/CRDetail.h"

#include "connection.h"
#include "format_date.h"
#include "recordset.h"
#include "store_error.h"

#include <QMarginsF>
#include <QPageSize>
#include <algorithm>
#include <cmath>

namespace {

using reports::TabularColumn;
using reports::ValueFormatter;

constexpr char kDatePattern[] = "dd-MM-yyyy";

// Rupees: whole amounts as whole numbers, amounts with paise to two places. Claims are nearly
// always in whole rupees, and the narrower figures leave the names more room.
QString amountText(const QVariant& value) {
    bool isNumber = false;
    const double amount = value.toDouble(&isNumber);
    if (value.isNull() || !isNumber)
        return reports::plainText(value);
    if (std::isfinite(amount) && amount == std::trunc(amount) && std::fabs(amount) < 1e15)
        return QString::number(qlonglong(amount));
    return QString::number(amount, 'f', 2);
}

// One entry per field of fieldNames(), in the same order. Each width holds its heading, a date,
// an eight-digit amount, a seven-digit pay or a usual name and district whole; a larger figure
// prints in a smaller font, since a figure is never cut short. Together they are wider than an A4
// landscape page, so the page renderer prints the list at about 7 points: smaller type, but the
// names a clerk looks for stay readable rather than cut short.
std::vector<TabularColumn> caseColumns() {
    const ValueFormatter date = reports::dateText(kDatePattern);
    const ValueFormatter text = reports::plainText;
    const Qt::Alignment left = Qt::AlignLeft;
    const Qt::Alignment right = Qt::AlignRight;
    return {
        {"Ref. No.", 760, right, text, false, true},
        {"Ref. Date", 1080, left, date, false},
        {"Employee Name", 1280, left, text, false},
        {"Father's Name", 1280, left, text, false},
        {"Designation", 1230, left, text, false},
        {"Basic Pay", 1000, right, amountText, false, true},
        {"District", 1450, left, text, false},
        {"Patient Name", 1280, left, text, false},
        {"Age", 500, right, text, false, true},
        {"Relation", 900, left, text, false},
        {"Disease", 1150, left, text, false},
        {"Treatment From", 1080, left, date, false},
        {"Treatment To", 1080, left, date, false},
        {"Amount Claimed", 1260, right, amountText, true, true},
        {"Status", 1050, left, text, false},
        {"Amount Approved", 1260, right, amountText, true, true},
        {"Approval Date", 1080, left, date, false},
    };
}

QVariant toVariant(const store::FieldValue& field) {
    switch (field.kind()) {
    case store::FieldValue::Kind::Null:
        return {};
    case store::FieldValue::Kind::Integer:
        return QVariant(qlonglong(field.number()));
    case store::FieldValue::Kind::Real:
        return QVariant(field.number());
    case store::FieldValue::Kind::Text:
        return QVariant(field.text());
    case store::FieldValue::Kind::Date:
        return QVariant(field.date());
    }
    return {};
}

// Rows read from the register at a time: ten pages of the list, for one statement of modest
// length.
constexpr qsizetype rowsAtATime = 500;

} // namespace

CaseRows::CaseRows(store::Connection& connection, const QString& condition)
    : connection_(connection), condition_(condition) {
    // The row ids that the condition selects, then every claim's id and number in number order:
    // each read from an index alone. Sorting the selection itself by number would read each of
    // its rows from the table, several times slower for a long list.
    std::vector<qint64> selected;
    {
        store::Recordset ids;
        ids.Open("SELECT id FROM detail where " + condition, connection);
        for (; !ids.Eof(); ids.MoveNext())
            selected.push_back(qint64(ids.Fields(0).number()));
    }
    std::sort(selected.begin(), selected.end());
    store::Recordset numbers;
    numbers.Open("SELECT id, refno FROM detail order by refno", connection);
    refnos_.reserve(selected.size());
    for (; !numbers.Eof(); numbers.MoveNext()) {
        if (std::binary_search(selected.begin(), selected.end(),
                               qint64(numbers.Fields(0).number())))
            refnos_.push_back(qint64(numbers.Fields(1).number()));
    }
}

QList<QVariantList> CaseRows::rows(qsizetype first, qsizetype count) {
    first = std::clamp<qsizetype>(first, 0, rowCount());
    count = std::clamp<qsizetype>(count, 0, rowCount() - first);
    if (first < keptFirst_ || first + count > keptFirst_ + kept_.size()) {
        kept_.clear(); // before the next stretch is read, not after
        keptFirst_ = first;
        const qsizetype end = std::min(rowCount(), first + std::max(count, rowsAtATime));
        QStringList numbers;
        for (qsizetype i = first; i < end; ++i)
            numbers << QString::number(refnos_[size_t(i)]);
        store::Recordset read;
        read.Open("SELECT " + CRDetail::fieldNames().join(',') + " FROM detail where refno in (" +
                      numbers.join(',') + ") order by refno",
                  connection_);
        const int fields = int(CRDetail::fieldNames().size());
        kept_.reserve(end - first);
        // Both in number order: a number not read back is a claim deleted since the count.
        for (qsizetype i = first; i < end; ++i) {
            QVariantList row;
            if (!read.Eof() && qint64(read.Fields(0).number()) == refnos_[size_t(i)]) {
                row.reserve(fields);
                for (int f = 0; f < fields; ++f)
                    row.append(toVariant(read.Fields(f)));
                read.MoveNext();
            }
            kept_.append(std::move(row));
        }
    }
    return kept_.mid(first - keptFirst_, count);
}

QVariant CaseRows::total(size_t column) {
    auto found = totals_.find(column);
    if (found == totals_.end()) {
        store::Recordset sum;
        sum.Open("SELECT sum(" + CRDetail::fieldNames().value(qsizetype(column)) +
                     ") FROM detail where " + condition_,
                 connection_);
        // No amount at all sums to nothing, as a list of no rows does.
        const QVariant value = sum.Eof() ? QVariant() : toVariant(sum.Fields(0));
        found = totals_.emplace(column, value.isNull() ? QVariant(qlonglong(0)) : value).first;
    }
    return found->second;
}

const QStringList& CRDetail::fieldNames() {
    static const QStringList names{"refno",       "refdate", "empname", "fname",      "design",
                                   "basicpay",    "odist",   "pname",   "page",       "relation",
                                   "disease",     "dfrom",   "dto",     "amtclaimed", "billstatus",
                                   "amtapproved", "appdate"};
    return names;
}

CRDetail::CRDetail() {
    setTitle("List of Cases");
    setColumns(caseColumns());
    setFooterCaptions("Number of Cases", "Total");
    setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                              QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
}

void CRDetail::setSelection(const Selection& selection, const QDate& printDate) {
    using platform::FormatDate;
    setHeaderLines({
        "Reference Date Between " + FormatDate(selection.from, kDatePattern) + " and " +
            FormatDate(selection.to, kDatePattern),
        "District : " + selection.district,
        "Status of Bill : " + selection.status,
        "Printed on : " + FormatDate(printDate, kDatePattern),
    });
}

void CRDetail::discardSavedData() {
    setRows({});
}

void CRDetail::setDataSource(store::Recordset& recordset) {
    std::vector<int> positions;
    for (const QString& name : fieldNames()) {
        int found = -1;
        for (int i = 0; i < recordset.FieldCount() && found < 0; ++i) {
            if (recordset.FieldName(i).compare(name, Qt::CaseInsensitive) == 0)
                found = i;
        }
        if (found < 0)
            throw store::StoreError("the case list needs the field " + name +
                                    ", which the selection does not hold");
        positions.push_back(found);
    }
    QList<QVariantList> rows;
    rows.reserve(qsizetype(recordset.RecordCount()));
    for (recordset.MoveFirst(); !recordset.Eof(); recordset.MoveNext()) {
        QVariantList row;
        row.reserve(qsizetype(positions.size()));
        for (const int position : positions)
            row.append(toVariant(recordset.Fields(position)));
        rows.append(std::move(row));
    }
    setRows(rows);
}

void CRDetail::setDataSource(store::Connection& connection, const QString& condition) {
    setRowSource(std::make_shared<CaseRows>(connection, condition));
}
