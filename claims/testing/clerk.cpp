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

} // namespace

QString Clerk::text(const QString& name) const {
    if (auto* combo = form_.findChild<QComboBox*>(name))
        return combo->currentText();
    return find<QLineEdit>(name)->text();
}

void Clerk::click(const QString& button) {
    QPushButton* target = find<QPushButton>(button);
    require(target->isEnabled(), button + " is disabled");
    QTest::mouseClick(target, Qt::LeftButton);
}

void Clerk::type(const QString& box, const QString& keys) {
    QLineEdit* target = find<QLineEdit>(box);
    require(target->isEnabled(), box + " is disabled");
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
    QLineEdit* target = find<QLineEdit>(box);
    require(target->isEnabled(), box + " is disabled");
    QApplication::clipboard()->setText(text);
    target->setFocus();
    target->selectAll();
    QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
}

void Clerk::choose(const QString& combo, const QString& entry) {
    QComboBox* list = find<QComboBox>(combo);
    require(list->isEnabled(), combo + " is disabled");
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
    QDateEdit* target = find<QDateEdit>(picker);
    require(target->isEnabled(), picker + " is disabled");
    target->setFocus();
    // The first section selected, as a double click leaves it; a section typed full moves on.
    QTest::keyClick(target, Qt::Key_Home);
    target->setSelectedSection(target->sectionAt(0));
    const bool month_names = target->displayFormat().contains("MMM");
    for (int i = 0; i < target->sectionCount(); ++i) {
        switch (target->sectionAt(i)) {
        case QDateTimeEdit::DaySection:
            QTest::keyClicks(target, QStringLiteral("%1").arg(date.day(), 2, 10, QChar('0')));
            break;
        case QDateTimeEdit::MonthSection:
            QTest::keyClicks(
                target, month_names ? QLocale::c().monthName(date.month(), QLocale::ShortFormat)
                                    : QStringLiteral("%1").arg(date.month(), 2, 10, QChar('0')));
            break;
        case QDateTimeEdit::YearSection:
            QTest::keyClicks(target, QString::number(date.year()));
            break;
        default:
            throw std::runtime_error("unexpected section in " + picker.toStdString());
        }
    }
    require(target->date() == date, picker + " shows " + target->date().toString(Qt::ISODate) +
                                        " after typing " + date.toString(Qt::ISODate));
}

} // namespace vetra_testing
