// Translation of the statement dialect the forms write into the engine's SQL.
//
// A date literal between '#' marks, #dd-MMM-yyyy# with an English month abbreviation, becomes the
// quoted ISO date text 'yyyy-mm-dd', which is how dates are stored. Text between single or double
// quotes is copied untouched, so a '#' typed into a name never changes. Everything else passes
// through as it is. A '#' outside quotes that does not open a valid date literal is an error.
#pragma once

#include <string>
#include <string_view>

namespace store {

// Throws StoreError on a malformed date literal.
std::string translate_dialect(std::string_view statement);

// The same for the database server, whose quoted ISO text is read as a date where a date
// belongs. The engine's row number, `rowid`, is the server's row address `ctid`, which orders the
// rows of a table that only grows (the history) as they were written. A search of the full-text
// table, "detail_search MATCH 'words:ab* facets:moga'", becomes the same search of the server's
// table of words: each "words:" term the beginning of a word, each "facets:" term a whole word.
std::string translate_server_dialect(std::string_view statement);

} // namespace store
