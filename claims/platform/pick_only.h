// A combo box whose value changes only when the user chooses an entry from its list.
//
// The box is editable with a read-only text part, so that it can show a stored value that is none
// of its entries. The keys that would step through the list or edit the text without typing a
// character (arrows, Home/End, PgUp/PgDn, Delete) and the mouse wheel do nothing; Tab still moves
// the focus, F4 and Alt+Down/Alt+Up open the list, and a click on the text opens it too. Typed
// characters, Backspace and Enter are the form's KeyPress handler's to discard (see key_press.h).
// QComboBox::activated is emitted only for a choice from the list: never when the program sets the
// text, nor when the box loses the focus.
#pragma once

#include <QString>

class QComboBox;

namespace platform {

void MakePickOnly(QComboBox* combo);

// Shows `text` in a pick-only box without counting as a choice: the entry with exactly that text
// becomes current, or none when no entry has it.
void SetPickOnlyText(QComboBox* combo, const QString& text);

} // namespace platform
