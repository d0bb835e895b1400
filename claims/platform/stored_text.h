// Stored texts shown in the forms.
//
// A box's length limit is for typing. A value stored longer (by another program, or before the
// limit) is shown whole and read back whole unless the clerk edits it; editing can shorten such a
// value but never make it longer than the longer of the limit and what it held. A label shows a
// stored text elided to at most half the screen's width, so that no stored text widens a form.
#pragma once

#include <QString>

class QLabel;
class QLineEdit;

namespace platform {

void ShowStoredText(QLineEdit* box, const QString& text);
void ShowElided(QLabel* label, const QString& text);

} // namespace platform
