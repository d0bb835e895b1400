// The bill entry form, where a clerk enters, finds, changes and deletes claims.
//
// One set of controls serves four modes: idle (everything empty and disabled), new claim, viewing
// a stored claim and editing it. The caption of `cmd_save` ("SAVE" or "UPDATE") is the form's
// only record of whether a save creates a claim or rewrites the one whose number is shown. The
// load routine is the form's reset: every return to idle runs it whole, lists included.
//
// Invariants: a save is one transaction, so a claim is stored whole or not at all; a failed save
// or look-up leaves the form in its mode with every value the clerk typed; the reference number
// box never takes typing, so an edited claim is always written back under its own number; a
// combo box's *_Click switch runs only when the clerk picks from its list.
#pragma once

#include <QDialog>
#include <QString>
#include <map>
#include <memory>
#include <optional>

namespace Ui {
class frmBillEntry;
}
struct EntryControl;

class frmBillEntry : public QDialog {
    Q_OBJECT

public:
    explicit frmBillEntry(QWidget* parent = nullptr);
    ~frmBillEntry() override;

    // "OK" after check_fields passed, empty after a check failed.
    QString valid_flag;
    // The text last entered at the find prompt.
    QString find_text;

public slots:
    void Form_Load();
    void cmb_Type_Click();
    void cmb_HApproval_Click();
    void cmd_addnew_Click();
    void cmd_save_Click();
    void cmd_close_Click();
    void cmd_find_Click();
    void cmd_edit_Click();
    void cmd_delete_Click();
    void cmd_reset_Click();

public:
    void clear_fields();
    void enable_fields(bool flag);
    void check_fields();
    void find_record();
    // What FIND does once `typed` is entered at its prompt: shows that claim for EDIT and DELETE,
    // or says that none is stored.
    void find_number(const QString& typed);
    // Puts the current row of Module1::rs_aux into the controls.
    void show_record();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The five amounts as the statements write them, once each is a valid number, by column.
    using Amounts = std::map<QString, QString>;

    QWidget* control(const EntryControl& entry) const;
    // Whether a control of this need is checked and read now, given the type and the approval.
    bool applies(const EntryControl& entry) const;
    void connect_handlers();
    void set_key_rules();
    void align_label_columns();
    void fit_to_screen();
    bool is_new_claim() const;
    std::optional<Amounts> read_amounts();
    // False, after an "Invalid" box naming it, when a text box holds what cannot be stored.
    bool texts_storable();
    // Runs the save's statements as one transaction; returns the number the claim is stored under.
    QString write_record(const Amounts& amounts);
    QString free_reference_number(const QString& proposed);
    void execute_save_statements(const QString& R, const Amounts& amounts);

    std::unique_ptr<Ui::frmBillEntry> ui;
    // The change count of the claim last shown, which its update must still find.
    qint64 shown_changes_ = 0;
};
