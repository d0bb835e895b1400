// The Find Claim window: a clerk types any part of a name (or the reference number) and sees the
// claims that match, newest first, while typing.
//
// The search runs a short pause after the last keystroke, and at once when a filter changes or
// Enter is pressed. Enter or a double-click on a line (Enter in the box takes the selected line,
// else the first) opens that claim in the entry form exactly as its FIND shows it; "Status" opens
// the status form on it. When either form closes, the search runs again, so a claim changed or
// deleted there shows as it now is. A database failure is reported in one "Database Error" box and
// leaves the lines empty.
#pragma once

#include <QDialog>
#include <QString>
#include <memory>

class QTimer;

namespace Ui {
class frmFindClaim;
}

class frmFindClaim : public QDialog {
    Q_OBJECT

public:
    // The pause after a keystroke before the search runs.
    static constexpr int kPauseMs = 250;

    explicit frmFindClaim(QWidget* parent = nullptr);
    ~frmFindClaim() override;

public slots:
    void search();
    void open_claim();
    void open_status();

private:
    // The number of the selected line, else of the first; empty when there are no lines.
    QString chosen_refno() const;
    void search_now_from_box();

    std::unique_ptr<Ui::frmFindClaim> ui;
    QTimer* pause_;
};
