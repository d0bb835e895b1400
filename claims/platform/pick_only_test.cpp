// A pick-only combo box driven by keys, the wheel and its list.
#include "pick_only.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace {

// A window with a pick-only box between two line edits; counts the box's choices.
class PickOnly : public ::testing::Test {
protected:
    void SetUp() override {
        auto* layout = new QVBoxLayout(&window);
        for (QWidget* w : {static_cast<QWidget*>(before), static_cast<QWidget*>(combo),
                           static_cast<QWidget*>(after)})
            layout->addWidget(w);
        combo->addItems({"Pending", "Sanctioned", "Rejected"});
        platform::MakePickOnly(combo);
        QObject::connect(combo, &QComboBox::activated,
                         [this](int index) { chosen.push_back(index); });
        window.show();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        combo->setFocus();
    }
    void TearDown() override { combo->hidePopup(); }

    bool list_open() const { return combo->view()->isVisible(); }

    void click_entry(int row) {
        ASSERT_TRUE(list_open());
        QAbstractItemView* list = combo->view();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(list->model()->index(row, 0)).center());
    }

    QWidget window;
    QLineEdit* before = new QLineEdit;
    QComboBox* combo = new QComboBox;
    QLineEdit* after = new QLineEdit;
    std::vector<int> chosen;
};

TEST_F(PickOnly, KeysThatTypeNothingAndTheWheelLeaveTheValue) {
    for (const QString shown : {"", "Sanctioned"}) {
        platform::SetPickOnlyText(combo, shown);
        for (auto key : {Qt::Key_Down, Qt::Key_Up, Qt::Key_Left, Qt::Key_Right, Qt::Key_Home,
                         Qt::Key_End, Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Delete})
            QTest::keyClick(combo, key);
        QWheelEvent wheel(QPointF(5, 5), combo->mapToGlobal(QPointF(5, 5)), {}, QPoint(0, -120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(combo, &wheel);
        EXPECT_EQ(combo->currentText(), shown);
        EXPECT_EQ(combo->currentIndex(), shown.isEmpty() ? -1 : 1);
    }
    EXPECT_TRUE(chosen.empty());
    EXPECT_FALSE(list_open());
}

// The program shows a stored value, also one that is no entry or differs only in case; leaving
// the box or pressing Enter must not turn it into a choice.
TEST_F(PickOnly, AShownValueIsNoChoice) {
    for (const QString stored : {"Sanctioned", "sanctioned", "Approved"}) {
        platform::SetPickOnlyText(combo, stored);
        EXPECT_EQ(combo->currentIndex(), stored == "Sanctioned" ? 1 : -1);
        QTest::keyClick(combo, Qt::Key_Return);
        after->setFocus();
        combo->setFocus();
        EXPECT_EQ(combo->currentText(), stored);
        EXPECT_EQ(combo->count(), 3);
    }
    EXPECT_TRUE(chosen.empty());
}

TEST_F(PickOnly, TabMovesOnAndTheListOpensByF4AltDownOrAClickOnTheText) {
    QTest::keyClick(combo, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), after);
    QTest::keyClick(after, Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), combo);

    QTest::keyClick(combo, Qt::Key_F4);
    EXPECT_TRUE(list_open());
    combo->hidePopup();
    QTest::keyClick(combo, Qt::Key_Down, Qt::AltModifier);
    EXPECT_TRUE(list_open());
    combo->hidePopup();
    QTest::mouseClick(combo->lineEdit(), Qt::LeftButton);
    EXPECT_TRUE(list_open());
}

TEST_F(PickOnly, AChoiceFromTheListChangesTheValueEvenToTheSameEntry) {
    platform::SetPickOnlyText(combo, "Approved");
    combo->showPopup();
    click_entry(2);
    EXPECT_EQ(combo->currentText(), "Rejected");
    combo->showPopup();
    click_entry(2);
    EXPECT_EQ(chosen, (std::vector<int>{2, 2}));
}

} // namespace
