// Runs pdftotext and parses its output for the report tests.
#include "pdf_text.h"

#include <QProcess>
#include <gtest/gtest.h>

namespace reports::testing {

QStringList pdfPages(const QString& path) {
    QProcess process;
    process.start("pdftotext", {"-layout", path, "-"});
    const bool finished = process.waitForFinished(60000);
    EXPECT_TRUE(finished && process.exitCode() == 0)
        << "pdftotext " << path.toStdString() << ": "
        << process.readAllStandardError().toStdString();
    QStringList pages = QString::fromUtf8(process.readAllStandardOutput()).split(u'\f');
    // Every page ends in a form feed, the last one too.
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

} // namespace reports::testing
