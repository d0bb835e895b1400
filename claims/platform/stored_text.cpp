// The typing limit kept apart from the box's length limit, and elided labels.
#include "stored_text.h"

#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <algorithm>

namespace platform {
namespace {

constexpr char kTypingLimit[] = "vetra_typing_limit";
// More characters than any label can show; the rest of a longer text is never laid out.
constexpr qsizetype kLongestShown = 1000;

int typing_limit(QLineEdit* box) {
    const QVariant limit = box->property(kTypingLimit);
    if (limit.isValid())
        return limit.toInt();
    box->setProperty(kTypingLimit, box->maxLength());
    // Every change, typed or set, brings the limit down to what the box holds, never below the
    // typing limit: emptying the box restores it.
    QObject::connect(box, &QLineEdit::textChanged, box, [box](const QString& text) {
        box->setMaxLength(std::max(box->property(kTypingLimit).toInt(), int(text.size())));
    });
    return box->maxLength();
}

} // namespace

void ShowStoredText(QLineEdit* box, const QString& text) {
    box->setMaxLength(std::max(typing_limit(box), int(text.size())));
    box->setText(text);
}

void ShowElided(QLabel* label, const QString& text) {
    const QString head = text.size() > kLongestShown ? text.left(kLongestShown) + u'\u2026' : text;
    const int width =
        std::max(label->minimumWidth(), label->screen()->availableGeometry().width() / 2);
    label->setText(label->fontMetrics().elidedText(head, Qt::ElideRight, width));
}

} // namespace platform
