// Pick-only combo boxes: stepping keys and the wheel leave the value alone, F4 still opens the
// list.
#include "pick_only.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QTest>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace {

class PickOnly : public ::testing::Test {
protected:
    void SetUp() override {
        auto* layout = new QVBoxLayout(&form);
        combo = new QComboBox(&form);
        combo->addItems({"All Cases", "Pending", "Rejected", "Sanctioned"});
        combo->setCurrentIndex(1);
        layout->addWidget(combo);
        platform::MakePickOnly(combo);
        form.show();
        QApplication::setActiveWindow(&form);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        combo->setFocus();
    }

    QDialog form;
    QComboBox* combo = nullptr;
};

TEST_F(PickOnly, SteppingKeysAndTheWheelLeaveTheValue) {
    for (auto key : {Qt::Key_Down, Qt::Key_Up, Qt::Key_Right, Qt::Key_Left, Qt::Key_End,
                     Qt::Key_Home, Qt::Key_PageDown, Qt::Key_PageUp, Qt::Key_Delete})
        QTest::keyClick(combo, key);
    QWheelEvent wheel(QPointF(5, 5), combo->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(combo, &wheel);
    EXPECT_EQ(combo->currentText(), "Pending");
    EXPECT_FALSE(combo->view()->isVisible());
}

TEST_F(PickOnly, AltDownOpensTheListAndAChoiceFromItSetsTheValue) {
    QTest::keyClick(combo, Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(combo->view()->isVisible());
    QTest::keyClick(combo->view(), Qt::Key_Down);
    QTest::keyClick(combo->view(), Qt::Key_Return);
    EXPECT_FALSE(combo->view()->isVisible());
    EXPECT_EQ(combo->currentText(), "Rejected");
}

} // namespace
