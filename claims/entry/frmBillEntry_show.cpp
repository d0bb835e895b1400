// Showing a stored claim: the current row of rs_aux, read by column position 1 to 34, goes into
// the entry controls. It runs after the load routine has emptied the form, so a control it leaves
// alone stays empty, and it switches no control on or off. A Null shows as an empty box.
#include "control_text.h"
#include "entry_controls.h"
#include "frmBillEntry.h"
#include "module1.h"
#include "stored_date.h"
#include "ui_frmBillEntry.h"

void frmBillEntry::show_record() {
    store::Recordset& row = Module1::rs_aux;
    const auto text = [&](int position) { return row.Fields(position).text(); };
    const bool self = text(25).trimmed() == "Self";
    const bool approved = text(28).trimmed() == "Yes";

    for (int position = 1; position <= std::ssize(kEntryControls); ++position) {
        const EntryControl& entry = kEntryControls[position - 1];
        QWidget* const box = control(entry);
        const QString stored = text(position);
        if (entry.kind == Kind::date)
            show_date(*qobject_cast<QDateEdit*>(box), row.Fields(position).date());
        else if (entry.need == Need::optional && stored.trimmed() == kDashMarker)
            continue;
        else if ((entry.need == Need::dependent && self) ||
                 (entry.need == Need::approved && !approved))
            continue;
        else
            set_control_text(box, entry.shown_trimmed ? stored.trimmed() : stored);
    }
}
