// One field of a query result: null, a whole number, a decimal number, a text or a date.
// A field reads as a date when its column is declared DATE and holds an ISO date text; a value
// of such a column that is no valid date reads as the text it holds. Reading a field in another
// form than its own converts it the way the forms need: a null reads as an empty text, 0 or an
// invalid date; a number as its plain decimal text without grouping or padding.
#pragma once

#include <QDate>
#include <QString>
#include <cstdint>
#include <variant>

namespace store {

class FieldValue {
public:
    enum class Kind { Null, Integer, Real, Text, Date };

    FieldValue() = default;
    explicit FieldValue(std::int64_t v) : value_(v) {}
    explicit FieldValue(double v) : value_(v) {}
    explicit FieldValue(QString v) : value_(std::move(v)) {}
    explicit FieldValue(QDate v) : value_(v) {}

    Kind kind() const { return static_cast<Kind>(value_.index()); }
    bool is_null() const { return kind() == Kind::Null; }

    // Text as stored; numbers as plain decimal text; dates as yyyy-MM-dd; null as "".
    QString text() const;
    // Numbers as they are; a text read from its leading number (Val); null and dates 0.
    double number() const;
    // Dates as they are; a text in ISO form as that date; anything else an invalid date.
    QDate date() const;

    bool operator==(const FieldValue&) const = default;

private:
    std::variant<std::monostate, std::int64_t, double, QString, QDate> value_;
};

} // namespace store
