#include "Class1.h"

#include <gtest/gtest.h>
#include <string>

namespace {

// Each filter over every 16-bit code: it admits exactly its characters, leaving the code as it
// was and returning it, and sets every other code to 0.
TEST(EntryClass1, EachFilterAdmitsExactlyItsKeys) {
    const Class1& f = Module1::key_check;
    const std::pair<qint16 (Class1::*)(qint16&, QWidget*) const, std::string> filters[] = {
        {&Class1::only_numeric, "0123456789., \b\r"},
        {&Class1::only_alpha, "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ. ()-\b\r"}};
    for (const auto& [filter, admitted] : filters) {
        for (int c = -32768; c <= 32767; ++c) {
            qint16 code = static_cast<qint16>(c);
            const qint16 result = (f.*filter)(code, nullptr);
            const bool admits = c > 0 && c < 128 && admitted.find(char(c)) != std::string::npos;
            ASSERT_EQ(code, admits ? c : 0) << c << " through " << admitted;
            ASSERT_EQ(result, code);
        }
    }
}

} // namespace
