// Test helper: what poppler's pdftotext reads from a PDF, page by page in
// layout mode, or word by word with each word's box in points.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace reports::testing {

// The text of each page, laid out as on the page.
QStringList pdfPages(const QString& path);

struct PdfWord {
    int page; // from 0
    double xMin;
    double yMin;
    double xMax;
    double yMax;
    QString text;
};

std::vector<PdfWord> pdfWords(const QString& path);

} // namespace reports::testing
