// libFuzzer entry for the statement dialect. Any bytes as a statement: the translation either
// refuses it or leaves no '#' outside quotes, copies a statement without one unchanged, and has
// nothing left to translate the second time.
#include "dialect.h"
#include "store_error.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

bool hash_outside_quotes(std::string_view sql) {
    char quote = 0;
    for (const char c : sql) {
        if (quote != 0 && c == quote)
            quote = 0;
        else if (quote == 0 && (c == '\'' || c == '"'))
            quote = c;
        else if (quote == 0 && c == '#')
            return true;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view statement(reinterpret_cast<const char*>(data), size);
    std::string sql;
    try {
        sql = store::translate_dialect(statement);
    } catch (const store::StoreError&) {
        return 0;
    }
    if (hash_outside_quotes(sql) || store::translate_dialect(sql) != sql ||
        (!hash_outside_quotes(statement) && sql != statement))
        std::abort();
    return 0;
}
