// How the forms write values into statement texts.
//
// Text goes between single quotes with its surrounding blanks removed and each quote inside
// doubled, so a pasted apostrophe is stored as typed and never ends the literal. A number must be
// a plain decimal number once blanks and thousands commas are taken out ("1,20,000" is 120000);
// anything else has no literal and the caller reports the field as invalid. A date is written
// #dd-MMM-yyyy# with an English month, whatever the user's locale.
#pragma once

#include <QDate>
#include <QString>
#include <optional>

namespace store {

QString text_literal(const QString& text);

std::optional<QString> number_literal(const QString& text);

QString date_literal(const QDate& date);

} // namespace store
