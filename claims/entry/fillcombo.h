// The lists of the entry form's combo boxes. `fill_list` empties a combo box and fills it with
// the given entries, leaving none selected, so filling it again never duplicates an entry;
// `fillcombo` fills it so with the twenty district names in their fixed order.
#pragma once

#include <QStringList>

class QComboBox;

void fill_list(QComboBox& combo, const QStringList& entries);

namespace Module1 {

void fillcombo(QComboBox& cmb);

} // namespace Module1
