// Test support: the awkward texts every box of the register is tried with (pasted, see
// Clerk::paste).
#pragma once

#include <QString>
#include <vector>

namespace vetra_testing {

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

} // namespace vetra_testing
