// The case list's selection form, "Report Generator": the period of reference dates (both ends
// included), the district ("All Districts" or one of the twenty) and the status ("All Cases" or
// one of the three). "Show Report" checks that a district and then a status are chosen, reporting
// only the first that is missing; opens the reports' `rsdetail` on the claims, ordered by
// reference number, and counts them; and shows them in the viewer `frmCRCases`, which reads them
// a page at a time, or says "No Record Found". The
// form keeps its choices while the viewer is open and after it closes; only loading the form
// again resets them. A database failure is reported and changes none of the choices.
#pragma once

#include <QDate>
#include <QDialog>
#include <memory>

namespace Ui {
class frmreport;
}
class QComboBox;
class QDateEdit;
class QPushButton;

class frmreport : public QDialog {
    Q_OBJECT

public:
    explicit frmreport(QWidget* parent = nullptr);
    ~frmreport() override;

    // What goes between the parentheses of "odist in (...)" for a district text, trimmed:
    // every one of the twenty names for "All Districts", else that one name.
    static QString district_set(const QString& district);
    // The selection for the status text, compared exactly; empty when it is none of
    // "Pending", "Rejected", "Sanctioned" and "All Cases".
    static QString selectionStatement(const QString& status, const QDate& from, const QDate& to,
                                      const QString& district_set);
    // What follows "where" in that statement, before its order; empty as the statement is.
    static QString selectionCondition(const QString& status, const QDate& from, const QDate& to,
                                      const QString& district_set);

    QDateEdit* txt_dfrom() const;
    QDateEdit* txt_dto() const;
    QComboBox* cmb_district() const;
    QComboBox* cmb_status() const;
    QPushButton* cmd_show() const;

public slots:
    void Form_Load();
    void cmd_show_Click();
    void cmd_close_Click();

private:
    void cmb_district_KeyPress(qint16& KeyAscii);
    void cmb_status_KeyPress(qint16& KeyAscii);
    // Selects the claims and shows them; throws store::StoreError.
    void showReport();
    // The claims that the condition selects; throws store::StoreError.
    static qint64 count(const QString& condition);

    std::unique_ptr<Ui::frmreport> ui;
};
