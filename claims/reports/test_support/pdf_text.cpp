// Runs pdftotext and parses its output for the report tests.
#include "pdf_text.h"

#include <QProcess>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

namespace reports::testing {

namespace {

QByteArray runPdfToText(const QStringList& arguments) {
    QProcess process;
    process.start("pdftotext", arguments);
    const bool finished = process.waitForFinished(60000);
    EXPECT_TRUE(finished && process.exitCode() == 0)
        << "pdftotext " << arguments.join(' ').toStdString() << ": "
        << process.readAllStandardError().toStdString();
    return process.readAllStandardOutput();
}

} // namespace

QStringList pdfPages(const QString& path) {
    QStringList pages = QString::fromUtf8(runPdfToText({"-layout", path, "-"})).split(u'\f');
    // Every page ends in a form feed, the last one too.
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

std::vector<PdfWord> pdfWords(const QString& path) {
    std::vector<PdfWord> words;
    QXmlStreamReader xml(runPdfToText({"-bbox", path, "-"}));
    int page = -1;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == u"page") {
            ++page;
        } else if (xml.name() == u"word") {
            const auto attributes = xml.attributes();
            PdfWord word{page,
                         attributes.value("xMin").toDouble(),
                         attributes.value("yMin").toDouble(),
                         attributes.value("xMax").toDouble(),
                         attributes.value("yMax").toDouble(),
                         {}};
            word.text = xml.readElementText();
            words.push_back(word);
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return words;
}

} // namespace reports::testing
