// Test support: pasting into a box as a clerk does, and the awkward texts every box of the
// register is tried with.
//
// Pasting goes through the clipboard and QLineEdit::paste, as the box's context menu and Ctrl+V
// do: no keystroke filter sees the text, and the box's length limit cuts it.
#pragma once

#include <QString>
#include <vector>

class QLineEdit;

namespace vetra_testing {

// Puts `text` on the clipboard and pastes it into `box`, replacing what the box held.
void paste(QLineEdit* box, const QString& text);

struct AwkwardText {
    const char* kind; // what the text tries, for failure messages
    QString text;
};

// Texts a text box stores exactly as it holds them (trimmed): quotes, statement marks, a date
// literal, Gurmukhi and Devanagari, control characters, and more than any box holds.
const std::vector<AwkwardText>& storable_texts();

// Texts no box can store: each must be refused with a message naming its box.
const std::vector<AwkwardText>& unstorable_texts();

// Pasted into a number box, none of these is a number the register can write.
const std::vector<AwkwardText>& junk_numbers();

// All of the above, for boxes that store nothing (sign-in) or read a number from anything.
const std::vector<AwkwardText>& every_awkward_text();

} // namespace vetra_testing
