// Test fixture: a bill entry form of its own on a register of its own, shown and active, with
// every box scripted, and helpers that reach its controls by name and use them as a clerk does.
#pragma once

#include "dialogs.h"
#include "frmBillEntry.h"
#include "temporary_register.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>

class EntryFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<frmBillEntry>();
        form->show();
        QApplication::setActiveWindow(form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    void TearDown() override { form.reset(); }

    template <typename Control = QWidget> Control* control(const QString& name) const {
        auto* found = form->findChild<Control*>(name);
        if (found == nullptr)
            throw std::runtime_error("the form has no control " + name.toStdString());
        return found;
    }
    QLineEdit* txt(const QString& name) const { return control<QLineEdit>(name); }
    QComboBox* cmb(const QString& name) const { return control<QComboBox>(name); }
    QDateEdit* picker(const QString& name) const { return control<QDateEdit>(name); }
    QPushButton* button(const QString& name) const { return control<QPushButton>(name); }

    void click(const QString& name) { QTest::mouseClick(button(name), Qt::LeftButton); }

    // Opens the combo box's list and chooses `entry` there, as a clerk does.
    void choose(const QString& combo_name, const QString& entry) {
        QComboBox* combo = cmb(combo_name);
        const int row = combo->findText(entry);
        if (row < 0)
            throw std::runtime_error("no entry " + entry.toStdString() + " in " +
                                     combo_name.toStdString());
        combo->setFocus();
        QTest::keyClick(combo, Qt::Key_F4);
        QAbstractItemView* list = combo->view();
        list->setCurrentIndex(list->model()->index(row, 0));
        QTest::keyClick(list, Qt::Key_Return);
    }

    store::TemporaryRegister register_;
    platform::DialogScript script;
    std::unique_ptr<frmBillEntry> form;
};
