// The Register menu's items, the Backups window and the automatic copies.
#include "register_menu.h"

#include "dialogs.h"
#include "store_error.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QPushButton>
#include <QSettings>
#include <QStatusBar>
#include <QThread>
#include <QVBoxLayout>

namespace backup {
namespace {

const QString kExitFailure = QStringLiteral("backup/failed_at_exit");

QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

void say(const QString& text, const QString& title) {
    platform::MsgBox(text, platform::MsgBoxStyle::Information, title);
}

// Takes an automatic copy and deletes the ones no longer kept; says how it went.
QString take_automatic(RegisterBackups& backups, const QString& folder, const QDateTime& now) {
    try {
        if (!QDir().mkpath(folder))
            throw store::StoreError(
                QStringLiteral("the folder %1 cannot be made").arg(native(folder)));
        const Copy made = backups.back_up(QDir(folder).filePath(automatic_name(now)));
        rotate(folder);
        return QStringLiteral("The register (%1 claims) was backed up to %2.")
            .arg(made.claims)
            .arg(native(made.path));
    } catch (const std::exception& e) {
        const auto* store_error = dynamic_cast<const store::StoreError*>(&e);
        return QStringLiteral("The automatic backup was not made: ") +
               (store_error != nullptr ? store_error->reason() : QString::fromLocal8Bit(e.what()));
    }
}

} // namespace

FileChoosers& file_choosers() {
    static FileChoosers choosers{
        [](QWidget* parent, const QString& caption, const QString& suggested) {
            return QFileDialog::getSaveFileName(parent, caption, suggested,
                                                "Register backups (*.mdb);;All files (*)");
        },
        [](QWidget* parent, const QString& caption, const QString& folder) {
            return QFileDialog::getOpenFileName(parent, caption, folder,
                                                "Register backups (*.mdb*);;All files (*)");
        }};
    return choosers;
}

void set_aside_stray_journal_at_start(const QString& register_path, const QString& password) {
    const QStringList moved =
        set_aside_stray_journal(register_path, password, QDateTime::currentDateTime());
    if (!moved.isEmpty())
        say(QStringLiteral("The journal beside the register %1 does not belong to it (a copy put "
                           "back by hand?), so it was not read into it. It was set aside as %2.")
                .arg(native(register_path), native(moved.join(", "))),
            "Register");
}

RegisterMenu::RegisterMenu(QMainWindow& window, RegisterBackups& backups, Clock clock)
    : window_(&window), backups_(backups), clock_(std::move(clock)) {}

RegisterMenu::~RegisterMenu() {
    wait_for_start_copy();
}

void RegisterMenu::attach(QAction* back_up, QAction* restore, QAction* list) {
    for (QAction* item : {back_up, restore, list})
        item->setEnabled(true);
    connect(back_up, &QAction::triggered, this, [this] { back_up_now(); });
    connect(restore, &QAction::triggered, this, [this] {
        const QString file =
            file_choosers().open(window_, "Restore Register", backups_.automatic_folder());
        if (!file.isEmpty())
            restore_chosen(file);
    });
    connect(list, &QAction::triggered, this, [this] { list_copies(); });
}

void RegisterMenu::back_up_at_start() {
    QSettings settings;
    if (settings.contains(kExitFailure)) {
        tell(settings.value(kExitFailure).toString());
        settings.remove(kExitFailure);
    }
    const QDateTime now = clock_();
    const QString folder = backups_.automatic_folder();
    if (has_copy_of(folder, now.date()))
        return;
    start_copy_ = QThread::create(
        [this, folder, now] { start_outcome_ = take_automatic(backups_, folder, now); });
    connect(start_copy_, &QThread::finished, this, [this] { tell(start_outcome_); });
    start_copy_->start(QThread::LowPriority);
}

void RegisterMenu::back_up_at_exit() {
    wait_for_start_copy();
    const QString outcome = take_automatic(backups_, backups_.automatic_folder(), clock_());
    if (outcome.startsWith("The automatic backup was not made"))
        QSettings().setValue(kExitFailure, outcome);
}

void RegisterMenu::wait_for_start_copy() {
    if (start_copy_ == nullptr)
        return;
    start_copy_->wait();
    delete start_copy_;
    start_copy_ = nullptr;
}

void RegisterMenu::tell(const QString& text) {
    if (window_ != nullptr)
        window_->statusBar()->showMessage(text);
}

void RegisterMenu::back_up_now() {
    const QString suggested =
        QDir(QSettings().value("backup/last_folder", QDir::homePath()).toString())
            .filePath("VETRA-backup-" + clock_().toString("yyyy-MM-dd-HHmm") + ".mdb");
    const QString target = file_choosers().save(window_, "Back Up Register", suggested);
    if (target.isEmpty())
        return;
    QSettings().setValue("backup/last_folder", QFileInfo(target).absolutePath());
    try {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const Copy made = backups_.back_up(target);
        QApplication::restoreOverrideCursor();
        say(QStringLiteral("The register (%1 claims) was backed up to %2.")
                .arg(made.claims)
                .arg(native(made.path)),
            "Back Up Register");
    } catch (const store::StoreError& e) {
        QApplication::restoreOverrideCursor();
        say(QStringLiteral("The backup was not made: %1. The register was not changed.")
                .arg(e.reason()),
            "Back Up Register");
    }
}

void RegisterMenu::restore_chosen(const QString& file) {
    if (platform::MsgBox(QStringLiteral("Put the backup %1 in place of the register? The register "
                                        "as it is now is kept beside it.")
                             .arg(native(file)),
                         platform::MsgBoxStyle::Question, "Restore Register") != platform::vbYes)
        return;
    wait_for_start_copy();
    try {
        const Copy restored = backups_.restore(file, clock_());
        say(QStringLiteral("The register was restored from the backup of %1. It holds %2 claims. "
                           "The register as it was is kept as %3.")
                .arg(restored.taken.toString("dd-MMM-yyyy HH:mm"))
                .arg(restored.claims)
                .arg(native(restored.set_aside)),
            "Restore Register");
    } catch (const ReopenError& e) {
        say(QStringLiteral("The backup was put in place but cannot be opened: %1. The register as "
                           "it was is kept as %2; close the program.")
                .arg(e.reason, native(e.restored.set_aside)),
            "Database Error");
    } catch (const store::StoreError& e) {
        say(QStringLiteral("The backup %1 was not restored: %2. The register was not changed.")
                .arg(native(file), e.reason()),
            "Restore Register");
    }
}

void RegisterMenu::list_copies() {
    const QString folder = backups_.automatic_folder();
    QDialog window(window_);
    window.setObjectName("frmBackups");
    window.setWindowTitle("Backups");
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(new QLabel("Automatic backups in " + native(folder), &window));
    auto* copies = new QListWidget(&window);
    copies->setObjectName("lst_backups");
    for (const QFileInfo& copy :
         QDir(folder).entryInfoList({"VETRA-*.mdb"}, QDir::Files, QDir::Name | QDir::Reversed)) {
        auto* line = new QListWidgetItem(QStringLiteral("%1   %2 MB")
                                             .arg(copy.lastModified().toString("dd-MMM-yyyy HH:mm"))
                                             .arg(double(copy.size()) / 1e6, 0, 'f', 1),
                                         copies);
        line->setData(Qt::UserRole, copy.absoluteFilePath());
    }
    copies->setCurrentRow(0);
    layout->addWidget(copies);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &window);
    QPushButton* restore = buttons->addButton("Restore...", QDialogButtonBox::ActionRole);
    restore->setObjectName("cmd_restore");
    restore->setEnabled(copies->count() > 0);
    connect(buttons, &QDialogButtonBox::rejected, &window, &QDialog::reject);
    connect(restore, &QPushButton::clicked, &window, &QDialog::accept);
    layout->addWidget(buttons);
    if (window.exec() == QDialog::Accepted && copies->currentItem() != nullptr)
        restore_chosen(copies->currentItem()->data(Qt::UserRole).toString());
}

} // namespace backup
