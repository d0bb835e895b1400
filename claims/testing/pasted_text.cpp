// The table of awkward texts.
#include "pasted_text.h"

namespace vetra_testing {

const std::vector<AwkwardText>& storable_texts() {
    static const std::vector<AwkwardText> texts{
        {"apostrophes", "D'Souza's 'own' ''"},
        {"a quote that closes the literal", "x'); Delete from detail; --"},
        {"an always-true condition", "x' or '1'='1"},
        {"double quotes", "\"Guru Nanak\" Dev \"Hospital"},
        {"semicolons", "Ward 3; Block B;"},
        {"a comment mark", "Sector 17 -- near bus stand"},
        {"a date literal", "#05-Mar-2007#"},
        {"a lone hash", "House # 12"},
        {"Gurmukhi", QString::fromUtf8("ਹਰਪ੍ਰੀਤ ਕੌਰ ਸੰਧੂ")},
        {"Devanagari", QString::fromUtf8("अमित कुमार शर्मा")},
        {"a tab inside", "Ram\tLal"},
        {"a line break inside", "Ram\r\nLal\nSingh"},
        {"other control characters", QString::fromUtf8("a\x01\x02\x1b[31m\x7f\x1f z")},
        {"blanks and a tab around", "\t  Kuldip Singh  "},
        {"Latin longer than any box", QString("Sukhwinder Singh Sandhu ").repeated(20)},
        {"Gurmukhi longer than any box", QString::fromUtf8("ਸੁਖਵਿੰਦਰ ਸਿੰਘ ").repeated(30)},
    };
    return texts;
}

const std::vector<AwkwardText>& unstorable_texts() {
    static const std::vector<AwkwardText> texts{
        {"a NUL", QString("Ram") + QChar(0) + "Lal"},
        {"a NUL alone", QString(QChar(0))},
        {"the first half of a surrogate pair", QString("Ram ") + QChar(0xD83D)},
    };
    return texts;
}

const std::vector<AwkwardText>& junk_numbers() {
    // Most are junk within their first three characters, so a three-character box keeps junk.
    static const std::vector<AwkwardText> texts{
        {"a second statement", "1;2; Delete from detail"},
        {"a comment", "1--"},
        {"a quote", "1'2"},
        {"a date literal", "#05-Mar-2007#"},
        {"a sign", "-50"},
        {"an exponent", "1e5"},
        {"a hexadecimal number", "0x1"},
        {"two points", "1.."},
        {"Devanagari digits", QString::fromUtf8("१२३")},
        {"Gurmukhi digits", QString::fromUtf8("੧੨੩")},
        {"a NUL", QString("1") + QChar(0) + "2"},
        {"a tab and a letter", "1\ta"},
        {"more digits than a number holds", QString(400, '9')},
    };
    return texts;
}

} // namespace vetra_testing
