// Finding claims by name: the matching rules, the words kept through save, edit and delete, an
// upgraded register, and a line opened in the entry form as FIND shows it.
#include "claim_search.h"
#include "clerk.h"
#include "dialogs.h"
#include "frmBillEntry.h"
#include "frmFindClaim.h"
#include "module1.h"
#include "temporary_register.h"
#include "values.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using Module1::db_conn;

namespace {

QStringList found(const QString& typed, const search::Filters& filters = {}) {
    QStringList refnos;
    for (const search::FoundClaim& claim : search::find_claims(db_conn, typed, filters).lines)
        refnos << claim.refno;
    return refnos;
}

void store_claim(int refno, const QString& empname, const QString& odist = "Moga") {
    db_conn.Execute(QStringLiteral("Insert into detail (refno, empname, odist, billstatus) values "
                                   "(%1, %2, '%3', 'Pending')")
                        .arg(refno)
                        .arg(store::text_literal(empname), odist));
}

TEST(FindClaim, MatchesTheBeginningOfAnyWordAsTypedInAnyScript) {
    store::TemporaryRegister reg;
    // clang-format off
    const std::tuple<const char*, const char*, bool> rules[] = {
        {"S. Singh", "s. singh", true}, {"S. Singh", "  S.   Singh ", true},
        {"S.Singh", "s singh", true}, {"Harpreet Kaur", "KAUR harp", true},
        {"Harpreet Kaur", "aur", false}, {"Harpreet Kaur", "kaur singh", false},
        {"D'Souza", "d'souza", true}, {"D'Souza", "\"souza\"", true},
        {"D'Souza", "x' or 'a'='a", false}, {"ਹਰਪ੍ਰੀਤ ਕੌਰ", "ਕੌਰ", true}, {"ਹਰਪ੍ਰੀਤ ਕੌਰ", "ਕੌਰਾ", false},
        {"\u0a36\u0a47\u0a30", "\u0a38\u0a3c\u0a47", true}, // typed with a nukta
        {"ÉLODIE Kaur", "élodie", true}, // a capital beyond ASCII folded too
        {"Ram Lal", "114", true}, // the claim's own number
        {"Ram Lal", "moga pend", false}, // its district and status are no names
    };
    // clang-format on
    int refno = 100;
    for (const auto& [stored, typed, expected] : rules) {
        store_claim(++refno, QString::fromUtf8(stored));
        EXPECT_EQ(found(QString::fromUtf8(typed)).contains(QString::number(refno)), expected)
            << stored << " / " << typed;
    }
}

TEST(FindClaim, TheWordsFollowEveryWriteInItsTransactionAndAreMadeForAnOlderRegister) {
    store::TemporaryRegister reg(store::Backend::File); // the older register is made in the file
    store_claim(101, "Gurdev Singh");
    EXPECT_EQ(found("gurd"), QStringList{"101"});
    db_conn.Execute("Update detail set empname='Kuldip Singh' where refno=101");
    EXPECT_EQ(found("gurd"), QStringList());
    EXPECT_EQ(found("kuld sin"), QStringList{"101"});
    db_conn.Execute("Update detail set billstatus='Rejected' where refno=101");
    EXPECT_EQ(found("kuld", {{}, "Pending"}), QStringList());
    EXPECT_EQ(found("kuld", {"Moga", "Rejected"}), QStringList{"101"});
    {
        store::Transaction undone(db_conn);
        db_conn.Execute("Update detail set empname='Asha Rani' where refno=101");
    }
    EXPECT_EQ(found("asha"), QStringList());
    db_conn.Execute("Delete from detail where refno=101");
    EXPECT_EQ(found("kuld"), QStringList());
    EXPECT_EQ(db_conn.ReadNumber("Select count(*) from detail_search"), 0);
    // A register from before the words were kept gets them for every claim.
    for (int refno = 101; refno <= 400; ++refno)
        store_claim(refno, QStringLiteral("Neelam %1").arg(refno * 7));
    for (const char* undo :
         {"DROP TRIGGER detail_search_insert", "DROP TRIGGER detail_search_update",
          "DROP TRIGGER detail_search_delete", "DROP TABLE detail_search",
          "PRAGMA user_version = 3"})
        db_conn.Execute(undo);
    Module1::open_database();
    for (int refno = 101; refno <= 400; ++refno)
        EXPECT_EQ(found(QString::number(refno * 7)), QStringList{QString::number(refno)});
    EXPECT_EQ(search::find_claims(db_conn, "neel", {}).more, 300 - search::kMaxLines);
}

// Enter in the box opens the newest match in the entry form, showing what FIND shows.
TEST(FindClaim, ALineOpensInTheEntryFormAsFindShowsIt) {
    store::TemporaryRegister reg;
    store_claim(101, "Mohan Lal", "Mansa");
    store_claim(102, "Mohan Lal", "Moga");
    const auto shown = [](frmBillEntry& form) {
        QStringList texts;
        for (const QLineEdit* box : form.findChildren<QLineEdit*>())
            texts << box->objectName() + "=" + box->text() + (box->isEnabled() ? "" : " (off)");
        for (const char* command : {"cmd_edit", "cmd_delete", "cmd_save"})
            texts << command +
                         QString(form.findChild<QWidget*>(command)->isEnabled() ? "" : " off");
        return texts;
    };
    frmBillEntry by_find;
    {
        platform::DialogScript script;
        script.type("101");
        vetra_testing::Clerk(by_find).click("cmd_find");
    }
    frmFindClaim window;
    vetra_testing::Clerk clerk(window);
    clerk.type("txt_search", "mohan");
    clerk.choose("cmb_district", "Mansa");
    QStringList opened;
    QTimer::singleShot(0, [&] {
        auto* form = qobject_cast<frmBillEntry*>(QApplication::activeModalWidget());
        opened = shown(*form);
        form->reject();
    });
    QTest::keyClick(clerk.find("txt_search"), Qt::Key_Return);
    EXPECT_EQ(opened, shown(by_find));
    EXPECT_TRUE(opened.contains("txt_refno=101 (off)"));
}

} // namespace
