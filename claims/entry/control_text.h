// The text of an entry control, whether a text box or a combo box, as the entry form reads,
// writes and empties it. Writing a combo box's text is not a choice from its list, so it never
// runs a selection switch; emptying one also leaves no list entry selected.
#pragma once

#include <QString>

class QWidget;

QString control_text(const QWidget* control);
void set_control_text(QWidget* control, const QString& text);
void empty_control(QWidget* control);
