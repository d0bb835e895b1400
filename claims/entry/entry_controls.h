// The entry form's controls in one table, in the order of the stored claim's columns (positions 1
// to 34 of a `Select *` row). Emptying, switching, showing a stored claim, the save's checks and
// the key rules all read it, so a control's part in each is stated once, here.
#pragma once

// What fills an optional address box that was left blank when the claim is saved; a stored dash
// shows as an empty box again.
inline constexpr char kDashMarker[] = "-";

enum class Kind {
    reference, // the program's number: takes no key
    text,      // names and addresses: the single quote is discarded
    number,    // amounts: only number keys; written as a plain number
    list,      // a pick-only combo box
    date,      // a date picker: neither emptied nor checked
};

enum class Need {
    program,   // filled by the program, not checked
    required,  // the save stops at it while it is blank
    optional,  // may stay blank: saved as the dash marker
    dependent, // required, and switched on, only for a Dependent claim
    approved,  // required, and switched on, only when the Health Dept. approval is Yes
};

struct EntryControl {
    const char* name;   // the control's object name
    const char* column; // the detail column it is stored in
    Kind kind;
    Need need;
    // The message a blank required box gets (Field Required), or nullptr.
    const char* check;
    // How an "Invalid" message names the box, or nullptr.
    const char* label;
    int max_length;     // 0: no limit of its own
    bool shown_trimmed; // a stored value is shown without its surrounding blanks
};

extern const EntryControl kEntryControls[34];
