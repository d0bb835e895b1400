// Filling combo boxes.
#include "fillcombo.h"

#include "schema.h"

#include <QComboBox>

void fill_list(QComboBox& combo, const QStringList& entries) {
    combo.clear();
    combo.addItems(entries);
    // Adding to an empty box selects its first entry; a fresh list has no choice yet.
    combo.setCurrentIndex(-1);
}

namespace Module1 {

void fillcombo(QComboBox& cmb) {
    fill_list(cmb, store::district_names());
}

} // namespace Module1
