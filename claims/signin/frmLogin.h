// The sign-in window: the program's first window. It accepts the office's fixed login ID (in any
// case, blanks around it ignored) and password (exact, blanks around it ignored), checking the
// ID before the password and reporting only the first failure. A failed attempt changes neither
// box. exec() returns Accepted after a successful sign-in and Rejected on "CLOSE".
#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class frmLogin;
}
class frmLogin : public QDialog {
    Q_OBJECT

public:
    static constexpr char kLoginId[] = "KROVE";
    static constexpr char kPassword[] = "739";

    explicit frmLogin(QWidget* parent = nullptr);
    ~frmLogin() override;

public slots:
    void cmd_login_Click();
    void cmd_close_Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<Ui::frmLogin> ui;
};
