// The bill status form: records the decision on a stored claim.
//
// Every change of the reference number, typed or set by the program, looks the claim up and shows
// its employee and the decision stored so far; a number that finds no claim leaves the form blank
// with Update disabled. The status is chosen from its list only; "Sanctioned" alone takes an
// approved amount and an approval date. Update rewrites the claim's four decision columns and
// returns the form to its blank state. The number in the update's condition is always the one the
// lookup found the claim by, so the form writes only to the claim it shows. A database failure is
// reported in a "Database Error" box and leaves everything the clerk typed in place.
#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

namespace Ui {
class frmBillUpdation;
}

class frmBillUpdation : public QDialog {
    Q_OBJECT

public:
    explicit frmBillUpdation(QWidget* parent = nullptr);
    ~frmBillUpdation() override;

public slots:
    void Form_Load();
    void txt_refno_Change();
    void cmb_status_Click();
    void cmd_update_Click();
    void cmd_close_Click();

public:
    // Puts `refno` in the number box, which looks the claim up as typing it does.
    void show_claim(const QString& refno);

private:
    void txt_refno_KeyPress(qint16& KeyAscii);
    void txt_amount_KeyPress(qint16& KeyAscii);
    void txt_remarks_KeyPress(qint16& KeyAscii);
    void cmb_status_KeyPress(qint16& KeyAscii);

    // Shows the claim with the number `refno` (decimal text) when there is one.
    void look_up(const QString& refno);
    // Fills the form from the lookup's row in rs_aux.
    void show_claim();
    // The blank state, but for the number and the status list: nothing shown, today's date,
    // Update, the amount and the date disabled.
    void clear_decision();
    void enable_amount_and_date(bool enabled);
    // The approved amount as a statement literal, or nothing after telling the clerk why not.
    std::optional<QString> sanctioned_amount();
    // Rewrites the shown claim's decision columns; returns the number of rows changed.
    std::int64_t write_decision(const QString& status, const QString& amount);

    std::unique_ptr<Ui::frmBillUpdation> ui;
    // The number, as decimal text, by which the lookup found the claim shown; empty when none is.
    QString shown_refno_;
    // The change count of the claim shown, read before it, which the update must still find.
    std::int64_t shown_changes_ = 0;
};
