// The connection string: "key=value" pairs separated by ';', keys compared without regard to
// case or surrounding blanks. A value may be put between double quotes (a quote inside doubled)
// when it holds a ';' itself. Only the data source and the database password matter to the store;
// the provider and other keys are accepted and ignored.
#pragma once

#include <QString>

namespace store {

struct ConnectionSettings {
    QString data_source; // path of the database file
    QString password;    // database password, empty when none is given
};

// Throws StoreError when the string names no data source.
ConnectionSettings parse_connection_string(const QString& connection_string);

// A value written so that parse_connection_string reads it back unchanged: as it is unless it
// holds a ';' or a double quote, then between double quotes.
QString connection_string_value(const QString& value);

} // namespace store
