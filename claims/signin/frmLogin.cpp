// Sign-in checks over the .ui form.
#include "frmLogin.h"

#include "dialogs.h"
#include "ui_frmLogin.h"

#include <QScreen>

using platform::MsgBox;
using platform::MsgBoxStyle;

frmLogin::frmLogin(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), ui(std::make_unique<Ui::frmLogin>()) {
    ui->setupUi(this);
    setFixedSize(size());
    // Enter in either box signs in, exactly as the button does.
    connect(ui->txt_uid, &QLineEdit::returnPressed, this, &frmLogin::cmd_login_Click);
    connect(ui->txt_pass, &QLineEdit::returnPressed, this, &frmLogin::cmd_login_Click);
    connect(ui->cmd_login, &QPushButton::clicked, this, &frmLogin::cmd_login_Click);
    connect(ui->cmd_close, &QPushButton::clicked, this, &frmLogin::cmd_close_Click);
    ui->txt_uid->setFocus();
}

frmLogin::~frmLogin() = default;

void frmLogin::cmd_login_Click() {
    if (ui->txt_uid->text().trimmed().isEmpty()) {
        MsgBox("Enter Login ID!", MsgBoxStyle::Information, "Field Requried");
        ui->txt_uid->setFocus();
        return;
    }
    if (ui->txt_pass->text().trimmed().isEmpty()) {
        MsgBox("Enter Password!", MsgBoxStyle::Information, "Field Requried");
        ui->txt_pass->setFocus();
        return;
    }
    if (ui->txt_uid->text().toUpper().trimmed() != kLoginId) {
        MsgBox("Invalid Login ID!", MsgBoxStyle::Information, "Invalid");
        ui->txt_uid->setFocus();
        return;
    }
    if (ui->txt_pass->text().trimmed() != kPassword) {
        MsgBox("Invalid Password!", MsgBoxStyle::Information, "Invalid");
        ui->txt_pass->setFocus();
        return;
    }
    accept();
}

void frmLogin::cmd_close_Click() {
    reject();
}

void frmLogin::showEvent(QShowEvent* event) {
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    QDialog::showEvent(event);
}
