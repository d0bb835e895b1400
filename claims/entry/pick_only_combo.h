// A combo box whose value is chosen from its list and nothing else.
//
// The box stays editable with a read-only text part, because a stored value is shown in it
// whether or not it is one of the list's entries. Keys that would move the selection (arrows,
// Home/End, PgUp/PgDn, Delete) and the mouse wheel are discarded; typed characters are left to
// the form's KeyPress rule. Tab still moves on, and F4, Alt+Down and a click on the text open the
// list, so choosing an entry there is the only way the value changes, and the only thing that
// emits activated().
#pragma once

class QComboBox;

void make_pick_only(QComboBox& combo);
