// The entry form's controls, key rules, load routine, selection switches and its two routines
// that empty and switch the entry controls.
#include "frmBillEntry.h"

#include "Class1.h"
#include "control_text.h"
#include "entry_controls.h"
#include "fillcombo.h"
#include "key_press.h"
#include "pick_only.h"
#include "stored_date.h"
#include "ui_frmBillEntry.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QStyle>

namespace {

constexpr qint16 kSingleQuote = 39;

} // namespace

frmBillEntry::frmBillEntry(QWidget* parent)
    : QDialog(parent,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      ui(std::make_unique<Ui::frmBillEntry>()) {
    ui->setupUi(this);
    for (QDateEdit* picker : {ui->txt_RefDate, ui->txt_from, ui->txt_to})
        allow_empty_date(*picker);
    for (const EntryControl& entry : kEntryControls) {
        if (entry.kind == Kind::list)
            platform::MakePickOnly(qobject_cast<QComboBox*>(control(entry)));
        if (entry.max_length > 0)
            qobject_cast<QLineEdit*>(control(entry))->setMaxLength(entry.max_length);
    }
    align_label_columns();
    fit_to_screen();
    set_key_rules();
    connect_handlers();
    Form_Load();
}

frmBillEntry::~frmBillEntry() = default;

// Labels of the frames in one column share a width, so the boxes of a column line up.
void frmBillEntry::align_label_columns() {
    const auto align = [](std::initializer_list<QGroupBox*> frames) {
        int widest = 0;
        for (QGroupBox* frame : frames) {
            const QLayout* grid = frame->layout();
            for (const QLabel* label : frame->findChildren<QLabel*>())
                if (grid->indexOf(label) >= 0) // the label column, not the From/To labels
                    widest = std::max(widest, label->sizeHint().width());
        }
        for (QGroupBox* frame : frames)
            static_cast<QGridLayout*>(frame->layout())->setColumnMinimumWidth(0, widest);
    };
    align({ui->Frame1, ui->Frame3, ui->Frame4, ui->Frame5});
    align({ui->Frame6, ui->Frame7, ui->Frame8});
}

// The form keeps the size its layout gives it. On a screen with less room (a scaled desktop) it
// takes the room there is, title bar and borders included, and scrolls; the box with the focus
// is scrolled into view, so a check that focuses a box far down shows it.
void frmBillEntry::fit_to_screen() {
    const QSize whole = ui->formContents->sizeHint();
    const int title_bar = style()->pixelMetric(QStyle::PM_TitleBarHeight);
    const int border = 2 * style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth);
    const QSize room =
        screen()->availableGeometry().size() - QSize(border, title_bar + border) - QSize(8, 8);
    if (whole.width() <= room.width() && whole.height() <= room.height()) {
        setFixedSize(whole);
        return;
    }
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    QSize wanted = whole;
    if (wanted.height() > room.height())
        wanted.rwidth() += bar;
    if (wanted.width() > room.width())
        wanted.rheight() += bar;
    if (wanted.height() > room.height() && whole.height() <= room.height())
        wanted.rwidth() += bar; // the horizontal bar took the height the form had
    setMaximumSize(wanted);
    resize(wanted.boundedTo(room));
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now != nullptr && ui->formContents->isAncestorOf(now))
            ui->formScroll->ensureWidgetVisible(now);
    });
}

QWidget* frmBillEntry::control(const EntryControl& entry) const {
    return findChild<QWidget*>(entry.name);
}

void frmBillEntry::set_key_rules() {
    for (const EntryControl& entry : kEntryControls) {
        if (entry.kind == Kind::number)
            platform::OnKeyPress(control(entry), [this](qint16& KeyAscii) {
                Module1::key_check.only_numeric(KeyAscii, this);
            });
        else if (entry.kind == Kind::text)
            platform::OnKeyPress(control(entry), [](qint16& KeyAscii) {
                if (KeyAscii == kSingleQuote)
                    KeyAscii = 0;
            });
        else if (entry.kind == Kind::list)
            platform::OnKeyPress(control(entry), [](qint16& KeyAscii) { KeyAscii = 0; });
    }
}

void frmBillEntry::connect_handlers() {
    // activated() is a choice from the list; text the program writes does not emit it.
    connect(ui->cmb_Type, &QComboBox::activated, this, &frmBillEntry::cmb_Type_Click);
    connect(ui->cmb_HApproval, &QComboBox::activated, this, &frmBillEntry::cmb_HApproval_Click);
    connect(ui->cmd_addnew, &QPushButton::clicked, this, &frmBillEntry::cmd_addnew_Click);
    connect(ui->cmd_save, &QPushButton::clicked, this, &frmBillEntry::cmd_save_Click);
    connect(ui->cmd_close, &QPushButton::clicked, this, &frmBillEntry::cmd_close_Click);
    connect(ui->cmd_find, &QPushButton::clicked, this, &frmBillEntry::cmd_find_Click);
    connect(ui->cmd_edit, &QPushButton::clicked, this, &frmBillEntry::cmd_edit_Click);
    connect(ui->cmd_delete, &QPushButton::clicked, this, &frmBillEntry::cmd_delete_Click);
    connect(ui->cmd_reset, &QPushButton::clicked, this, &frmBillEntry::cmd_reset_Click);
}

void frmBillEntry::Form_Load() {
    clear_fields();
    const QDate today = QDate::currentDate();
    for (QDateEdit* picker : {ui->txt_RefDate, ui->txt_from, ui->txt_to})
        picker->setDate(today);
    Module1::fillcombo(*ui->cmb_district);
    fill_list(*ui->cmb_Documents, {"No", "Yes", "Incomplete"});
    fill_list(*ui->cmb_HApproval, {"No", "Yes"});
    fill_list(*ui->cmb_Type, {"Self", "Dependent"});
    fill_list(*ui->cmb_BillTime, {"No", "Yes"});
    fill_list(*ui->cmb_doctor, {"No", "Yes"});
    enable_fields(false);
    ui->cmd_save->setEnabled(false);
    ui->cmd_edit->setEnabled(false);
    ui->cmd_delete->setEnabled(false);
    ui->cmd_addnew->setEnabled(true);
    ui->txt_DIncome->setEnabled(false);
    ui->txt_HAmount->setEnabled(false);
    ui->cmd_save->setText("SAVE");
    ui->cmd_find->setEnabled(true);
}

void frmBillEntry::cmb_Type_Click() {
    const QString type = ui->cmb_Type->currentText().trimmed();
    if (type == "Dependent") {
        ui->txt_DIncome->setEnabled(true);
        ui->txt_DIncome->clear();
    } else if (type == "Self") {
        ui->txt_DIncome->setEnabled(false);
        ui->txt_DIncome->clear();
    }
}

void frmBillEntry::cmb_HApproval_Click() {
    ui->txt_HAmount->clear();
    ui->txt_HAmount->setEnabled(ui->cmb_HApproval->currentText().trimmed() == "Yes");
}

// The date pickers keep their dates.
void frmBillEntry::clear_fields() {
    for (const EntryControl& entry : kEntryControls)
        if (entry.kind != Kind::date)
            empty_control(control(entry));
}

// The income and the approved amount are switched by the type and the approval, not here.
void frmBillEntry::enable_fields(bool flag) {
    for (const EntryControl& entry : kEntryControls)
        if (entry.need != Need::dependent && entry.need != Need::approved)
            control(entry)->setEnabled(flag);
}

void frmBillEntry::cmd_close_Click() {
    reject();
}

// Escape would close the form and drop what was typed; only CLOSE and the close box do that.
void frmBillEntry::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
