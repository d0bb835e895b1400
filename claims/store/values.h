// How the forms write values into statement texts.
//
// Text goes between single quotes with its surrounding blanks removed and each quote inside
// doubled, so a pasted apostrophe is stored as typed and never ends the literal. A number must be
// a plain decimal number once blanks and thousands commas are taken out ("1,20,000" is 120000;
// a comma after the decimal point, as in "1.234,50", is no thousands comma and is refused) and
// small enough for the engine to hold (not infinity); anything else has no literal and the caller
// reports the field as invalid. A date is written #dd-MMM-yyyy# with an English month, whatever the
// user's locale.
//
// Any text can be written as a literal except one holding a NUL character (the engine reads a
// statement only up to it) or half of a UTF-16 surrogate pair (it cannot be stored as UTF-8):
// pasting and a length limit that cuts a pair can put either into a box, and the forms refuse
// such a text, naming its box, before they build a statement.
#pragma once

#include <QDate>
#include <QString>
#include <optional>

namespace store {

QString text_literal(const QString& text);

// Whether text_literal(text) stores exactly the text, trimmed.
bool text_storable(const QString& text);

std::optional<QString> number_literal(const QString& text);

QString date_literal(const QDate& date);

} // namespace store
