// Awkward text pasted into every name and address box of the entry form: what a box holds is
// stored exactly, read back from the table and shown again by FIND; what cannot be stored is
// refused with an "Invalid" box naming it before any statement is built. Junk pasted into the
// amount boxes is tried with the amounts (frmBillEntry_save_test.cpp).
#include "entry_form_fixture.h"
#include "pasted_text.h"

using vetra_testing::paste;

namespace {

using PastedInput = EntryFormTest;

TEST_F(PastedInput, EveryTextBoxStoresExactlyWhatItHolds) {
    std::int64_t refno = 101;
    for (const auto& [kind, text] : vetra_testing::storable_texts()) {
        SCOPED_TRACE(kind);
        click("cmd_addnew");
        type_claim();
        std::map<QString, QString> held;
        for (const TextBox& t : kTextBoxes) {
            paste(txt(t.box), text);
            held[t.column] = txt(t.box)->text();
            // Pasting is cut at the box's length limit, and only there.
            EXPECT_EQ(held[t.column], text.left(txt(t.box)->maxLength())) << t.box;
        }
        script.clear_shown();
        script.answer(platform::vbYes);
        click("cmd_save");
        ASSERT_EQ(script.shown().size(), 2u) << script.shown().back().text.toStdString();
        ASSERT_EQ(script.shown()[1], info("Record Saved Successfully.", "Saved"));

        const auto row = stored(refno);
        for (const TextBox& t : kTextBoxes)
            EXPECT_EQ(row.at(t.column).text(), held[t.column].trimmed()) << t.column;

        find(QString::number(refno));
        for (const TextBox& t : kTextBoxes)
            EXPECT_EQ(txt(t.box)->text(), held[t.column].trimmed()) << t.box;
        ++refno;
    }
}

TEST_F(PastedInput, TextThatCannotBeStoredIsRefusedNamingItsBox) {
    click("cmd_addnew");
    type_claim();
    for (const auto& [kind, text] : vetra_testing::unstorable_texts()) {
        for (const TextBox& t : kTextBoxes) {
            SCOPED_TRACE(std::string(kind) + " in " + t.box);
            const QString typed = txt(t.box)->text();
            paste(txt(t.box), text);
            script.clear_shown();
            record_statements().clear();
            click("cmd_save");
            ASSERT_EQ(script.shown().size(), 1u);
            EXPECT_EQ(script.shown()[0],
                      info(QString(t.name) +
                               " holds a character that cannot be stored. Type its text again.",
                           "Invalid"));
            EXPECT_EQ(QApplication::focusWidget(), txt(t.box));
            EXPECT_EQ(txt(t.box)->text(), text) << "the box keeps what was pasted";
            EXPECT_TRUE(statements.isEmpty());
            txt(t.box)->setText(typed);
        }
    }
    EXPECT_EQ(claims_stored(), 0);
}

} // namespace
