// How failure messages show Qt texts: as the text itself, not as the bytes of its characters.
#pragma once

#include <QString>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
