// The form in which names are compared when a claim is searched for.
//
// Stored text and typed text go through the same normalisation, so what a clerk types meets what
// a clerk stored however either was keyed in: Unicode composition NFC (Gurmukhi and Devanagari
// letters with a nukta typed as one character or two compare equal), case folding, every
// character that is neither a letter, a digit nor a combining mark (dots of initials, quotes,
// hyphens, brackets) read as a blank, invisible joiners dropped, blanks collapsed and trimmed.
// The result is a line of words separated by single blanks; a claim matches when each typed word
// begins one of its words.
#pragma once

#include <QString>
#include <QStringList>

namespace search {

QString normalised(const QString& text);

// The words of the normalised text, in order.
QStringList words(const QString& text);

} // namespace search
