// Normalisation of searched and stored names.
#include "search_text.h"

namespace search {
namespace {

bool kept(char32_t c) {
    switch (QChar::category(c)) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
        return true;
    default:
        return QChar::isLetterOrNumber(c);
    }
}

} // namespace

QString normalised(const QString& text) {
    // Folding can undo a composition, so the text is composed again after it.
    const QString folded = text.normalized(QString::NormalizationForm_C)
                               .toCaseFolded()
                               .normalized(QString::NormalizationForm_C);
    QString result;
    result.reserve(folded.size());
    bool blank_pending = false;
    for (const char32_t c : folded.toUcs4()) {
        if (QChar::category(c) == QChar::Other_Format)
            continue; // zero-width joiners change no letter a clerk reads
        if (!kept(c)) {
            blank_pending = true;
            continue;
        }
        if (blank_pending && !result.isEmpty())
            result += u' ';
        blank_pending = false;
        if (QChar::requiresSurrogates(c)) {
            result += QChar(QChar::highSurrogate(c));
            result += QChar(QChar::lowSurrogate(c));
        } else {
            result += QChar(static_cast<char16_t>(c));
        }
    }
    return result;
}

QStringList words(const QString& text) {
    return normalised(text).split(u' ', Qt::SkipEmptyParts);
}

} // namespace search
