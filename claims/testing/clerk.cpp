// A clerk's hands on the forms' controls.
#include "clerk.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace vetra_testing {
namespace {

void require(bool condition, const QString& what) {
    if (!condition)
        throw std::runtime_error(what.toStdString());
}

// The named control, which must be enabled for a clerk to use it.
template <typename Control> Control* usable(const Clerk& clerk, const QString& name) {
    auto* control = clerk.find<Control>(name);
    require(control->isEnabled(), name + " is disabled");
    return control;
}

} // namespace

QString Clerk::text(const QString& name) const {
    if (auto* combo = form_.findChild<QComboBox*>(name))
        return combo->currentText();
    return find<QLineEdit>(name)->text();
}

void Clerk::click(const QString& button) {
    QTest::mouseClick(usable<QPushButton>(*this, button), Qt::LeftButton);
}

void Clerk::type(const QString& box, const QString& keys) {
    QLineEdit* target = usable<QLineEdit>(*this, box);
    target->setFocus();
    target->end(false);
    QTest::keyClicks(target, keys);
}

void Clerk::retype(const QString& box, const QString& keys) {
    QLineEdit* target = find<QLineEdit>(box);
    target->setFocus();
    QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(target, Qt::Key_Delete);
    type(box, keys);
}

void Clerk::paste(const QString& box, const QString& text) {
    QLineEdit* target = usable<QLineEdit>(*this, box);
    QApplication::clipboard()->setText(text);
    target->setFocus();
    target->selectAll();
    QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
}

void Clerk::choose(const QString& combo, const QString& entry) {
    QComboBox* list = usable<QComboBox>(*this, combo);
    const int row = list->findText(entry);
    require(row >= 0, combo + " has no entry " + entry);
    list->setFocus();
    QTest::keyClick(list, Qt::Key_F4);
    QAbstractItemView* view = list->view();
    require(view->isVisible(), combo + "'s list did not open");
    view->setCurrentIndex(view->model()->index(row, 0));
    QTest::keyClick(view, Qt::Key_Return);
    require(list->currentText() == entry, combo + " did not take " + entry);
}

void Clerk::type_date(const QString& picker, const QDate& date) {
    QDateEdit* target = usable<QDateEdit>(*this, picker);
    target->setFocus();
    // The first section selected, as a double click leaves it; a section typed full moves on.
    QTest::keyClick(target, Qt::Key_Home);
    target->setSelectedSection(target->sectionAt(0));
    const bool month_names = target->displayFormat().contains("MMM");
    for (int i = 0; i < target->sectionCount(); ++i) {
        const QDateTimeEdit::Section section = target->sectionAt(i);
        const char* pattern = section == QDateTimeEdit::DaySection    ? "dd"
                              : section == QDateTimeEdit::YearSection ? "yyyy"
                              : month_names                           ? "MMM"
                                                                      : "MM";
        QTest::keyClicks(target, QLocale::c().toString(date, pattern));
    }
    require(target->date() == date, picker + " shows " + target->date().toString(Qt::ISODate) +
                                        " after typing " + date.toString(Qt::ISODate));
}

} // namespace vetra_testing
