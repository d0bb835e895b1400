// The main window's Register menu and the automatic copies of its register.
//
// "Back Up Register..." asks where to put a copy (named after the date and time), "Restore
// Register..." which copy to put back, and "Backups..." lists the automatic copies with the one
// to restore. Every outcome is one box; a restore asks first. The automatic copy of the first
// start of a day is taken in the background and the status bar says how it went; the one at exit
// is taken after the window is gone. A failed automatic copy never stops the clerk's work.
#pragma once

#include "automatic.h"
#include "backup.h"

#include <QObject>
#include <QPointer>
#include <functional>

class QAction;
class QMainWindow;
class QThread;

namespace backup {

// How the menu asks for files; tests answer in a person's place.
struct FileChoosers {
    std::function<QString(QWidget* parent, const QString& caption, const QString& suggested)> save;
    std::function<QString(QWidget* parent, const QString& caption, const QString& folder)> open;
};
FileChoosers& file_choosers();

// Run before the register is opened at start: sets aside a journal that does not belong to the
// register (see set_aside_stray_journal) and says so in a box.
void set_aside_stray_journal_at_start(const QString& register_path, const QString& password);

class RegisterMenu : public QObject {
public:
    RegisterMenu(QMainWindow& window, RegisterBackups& backups, Clock clock);
    ~RegisterMenu() override;

    // Enables the three items and gives them their work.
    void attach(QAction* back_up, QAction* restore, QAction* list);
    // At start, when no automatic copy of today exists yet.
    void back_up_at_start();
    // At a normal exit, once the window is gone; its failure is told at the next start.
    void back_up_at_exit();

private:
    void back_up_now();
    void restore_chosen(const QString& file);
    void list_copies();
    void wait_for_start_copy();
    void tell(const QString& text);

    QPointer<QMainWindow> window_;
    RegisterBackups& backups_;
    Clock clock_;
    QThread* start_copy_ = nullptr;
    QString start_outcome_;
};

} // namespace backup
