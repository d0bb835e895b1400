#include "Class1.h"

#include <gtest/gtest.h>
#include <set>

namespace {

// Runs a filter over every 16-bit code and returns the set it admits; also checks the contract
// that the result equals the code left behind and is either the code itself or 0.
template <typename Filter> std::set<int> admitted_codes(Filter filter) {
    std::set<int> admitted;
    for (int c = -32768; c <= 32767; ++c) {
        qint16 code = static_cast<qint16>(c);
        const qint16 result = filter(code);
        EXPECT_EQ(result, code);
        EXPECT_TRUE(code == c || code == 0) << c;
        if (code != 0)
            admitted.insert(c);
    }
    return admitted;
}

std::set<int> codes(const char* chars, std::initializer_list<int> more) {
    std::set<int> s(more);
    for (const char* p = chars; *p; ++p)
        s.insert(*p);
    return s;
}

TEST(EntryClass1, OnlyNumericAdmitsDigitsPointCommaBlankBackspaceAndEnter) {
    const Class1& f = Module1::key_check;
    EXPECT_EQ(admitted_codes([&](qint16& k) { return f.only_numeric(k, nullptr); }),
              codes("0123456789., ", {8, 13}));
}

TEST(EntryClass1, OnlyAlphaAdmitsLettersAndAFewMarks) {
    const Class1& f = Module1::key_check;
    EXPECT_EQ(admitted_codes([&](qint16& k) { return f.only_alpha(k, nullptr); }),
              codes("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ. ()-", {8, 13}));
}

} // namespace
