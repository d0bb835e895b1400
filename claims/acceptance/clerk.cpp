// A clerk's hands on the forms' controls.
#include "clerk.h"

#include "pick_only.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace acceptance {
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
    target->end(false);
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

void Clerk::type_claim(const ClaimEntries& c) {
    type_date("txt_RefDate", c.refdate);
    type("txt_EmpName", c.empname);
    type("txt_Fname", c.fname);
    type("txt_Design", c.design);
    type("txt_Pay", c.pay);
    type("txt_OAddress", c.oaddress);
    type("txt_OVillage", c.ovill);
    type("txt_OTehsil", c.oteh);
    type("txt_OEBlock", c.oblkname);
    choose("cmb_district", c.district);
    type("txt_PAddress", c.raddress);
    type("txt_PVillage", c.rvill);
    type("txt_PTehsil", c.rteh);
    type("txt_PDistrict", c.rdist);
    type("txt_State", c.rstate);
    type("txt_pname", c.pname);
    type("txt_age", c.age);
    type("txt_Relation", c.relation);
    type("txt_Disease", c.disease);
    type_date("txt_from", c.dfrom);
    type_date("txt_to", c.dto);
    type("txt_Hospital", c.hospital);
    type("txt_AmtClaimed", c.claimed);
    choose("cmb_Type", c.type);
    if (c.type == "Dependent")
        type("txt_DIncome", c.dependent_income);
    choose("cmb_Documents", c.documents);
    choose("cmb_HApproval", c.approval);
    if (c.approval == "Yes")
        type("txt_HAmount", c.health_amount);
    choose("cmb_doctor", c.doctor);
    choose("cmb_BillTime", c.in_time);
    type("txt_DOfficer", c.officer);
    type("txt_DDesign", c.offdesign);
    type("txt_DBranch", c.branch);
}

void Clerk::fill_claim(const ClaimEntries& c) {
    const std::pair<const char*, const QString*> boxes[] = {{"txt_EmpName", &c.empname},
                                                            {"txt_Fname", &c.fname},
                                                            {"txt_Design", &c.design},
                                                            {"txt_Pay", &c.pay},
                                                            {"txt_OAddress", &c.oaddress},
                                                            {"txt_OVillage", &c.ovill},
                                                            {"txt_OTehsil", &c.oteh},
                                                            {"txt_OEBlock", &c.oblkname},
                                                            {"txt_PAddress", &c.raddress},
                                                            {"txt_PVillage", &c.rvill},
                                                            {"txt_PTehsil", &c.rteh},
                                                            {"txt_PDistrict", &c.rdist},
                                                            {"txt_State", &c.rstate},
                                                            {"txt_pname", &c.pname},
                                                            {"txt_age", &c.age},
                                                            {"txt_Relation", &c.relation},
                                                            {"txt_Disease", &c.disease},
                                                            {"txt_Hospital", &c.hospital},
                                                            {"txt_AmtClaimed", &c.claimed},
                                                            {"txt_DOfficer", &c.officer},
                                                            {"txt_DDesign", &c.offdesign},
                                                            {"txt_DBranch", &c.branch}};
    for (const auto& [name, value] : boxes)
        find<QLineEdit>(name)->setText(*value);
    for (const auto& [name, value] : {std::pair{"cmb_district", c.district},
                                      {"cmb_Type", c.type},
                                      {"cmb_Documents", c.documents},
                                      {"cmb_HApproval", c.approval},
                                      {"cmb_doctor", c.doctor},
                                      {"cmb_BillTime", c.in_time}})
        choose(name, value);
    if (c.type == "Dependent")
        find<QLineEdit>("txt_DIncome")->setText(c.dependent_income);
    if (c.approval == "Yes")
        find<QLineEdit>("txt_HAmount")->setText(c.health_amount);
    find<QDateEdit>("txt_RefDate")->setDate(c.refdate);
    find<QDateEdit>("txt_from")->setDate(c.dfrom);
    find<QDateEdit>("txt_to")->setDate(c.dto);
}

} // namespace acceptance
