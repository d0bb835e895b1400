// Combo boxes whose value is only ever chosen from their list.
//
// Keys that would change the value without opening the list are dropped: the arrows, Home, End,
// Page Up, Page Down and Delete, and so is the mouse wheel. Typed characters, Backspace and Enter
// are left to the form's KeyPress handler, which discards them. Tab still moves the focus, and F4,
// Alt+Down and a click still open the list, so choosing from it is the only way in.
#pragma once

class QComboBox;

namespace platform {

// The filter lives as long as the combo box.
void MakePickOnly(QComboBox* combo);

} // namespace platform
