// The entry form's date pickers and the stored dates they show and write. A picker can stand
// empty, for a stored date that has no value: it then shows nothing and writes Null into a
// statement, so a missing date is never shown or saved as a made-up one.
#pragma once

#include <QString>

class QDate;
class QDateEdit;

// Lets the picker stand empty (see show_date).
void allow_empty_date(QDateEdit& picker);

// Shows `date`, or nothing when the date is invalid (a Null column).
void show_date(QDateEdit& picker, const QDate& date);

// The picker's date as a statement literal, #dd-MMM-yyyy#, or Null when it stands empty.
QString date_value(const QDateEdit& picker);
