// Conversions between the forms in which a field can be read.
#include "field_value.h"

#include "val.h"

#include <charconv>

namespace store {

QString FieldValue::text() const {
    switch (kind()) {
    case Kind::Null:
        return {};
    case Kind::Integer:
        return QString::number(std::get<std::int64_t>(value_));
    case Kind::Real: {
        // Shortest text that reads back as the same number, never in exponent form.
        char buffer[400];
        const auto end = std::to_chars(buffer, buffer + sizeof buffer, std::get<double>(value_),
                                       std::chars_format::fixed)
                             .ptr;
        return QString::fromLatin1(buffer, end - buffer);
    }
    case Kind::Text:
        return std::get<QString>(value_);
    case Kind::Date:
        return std::get<QDate>(value_).toString(Qt::ISODate);
    }
    return {};
}

double FieldValue::number() const {
    switch (kind()) {
    case Kind::Integer:
        return static_cast<double>(std::get<std::int64_t>(value_));
    case Kind::Real:
        return std::get<double>(value_);
    case Kind::Text:
        return platform::Val(std::get<QString>(value_));
    case Kind::Null:
    case Kind::Date:
        break;
    }
    return 0.0;
}

QDate FieldValue::date() const {
    if (kind() == Kind::Date)
        return std::get<QDate>(value_);
    if (kind() == Kind::Text)
        return QDate::fromString(std::get<QString>(value_), Qt::ISODate);
    return {};
}

} // namespace store
