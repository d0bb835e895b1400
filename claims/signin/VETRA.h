// The main window: a multiple-document window captioned "Vetraplex", opened maximized, whose
// Load opens the database. Its two menus offer the work forms; each item shows its form modally
// and returns when the form is closed, so one work form at a time is active. An item whose form
// is not attached stays disabled. "Exit" ends the program at once.
#pragma once

#include <QMainWindow>
#include <functional>
#include <memory>

class QAction;
class QDialog;
class QMdiArea;
class QMenu;

class VETRA : public QMainWindow {
    Q_OBJECT

public:
    // Makes a fresh instance of a work form, owned by the caller, for one showing.
    using FormFactory = std::function<std::unique_ptr<QDialog>(QWidget* parent)>;

    // Runs the window's Load: throws store::StoreError when the database cannot be opened.
    explicit VETRA(QWidget* parent = nullptr);
    ~VETRA() override;

    // Enables `item` and makes it show the form that `factory` makes, modally, loaded afresh at
    // each showing and unloaded when closed.
    void attach_form(QAction* item, FormFactory factory);

    QMdiArea* const mdi_area;
    QMenu* const mnu_Entry;
    QAction* const mnuAddCase;
    QAction* const mnu_StatusUpdation;
    QAction* const Line1;
    QAction* const mnu_Exit;
    QMenu* const mnu_reports;
    QAction* const mnu_list;
    QAction* const mnu_pendancy;
    QAction* const mnu_find;
    QAction* const mnu_history;
    // The backups' items; the program's start gives them their work.
    QMenu* const mnu_register;
    QAction* const mnu_backup;
    QAction* const mnu_restore;
    QAction* const mnu_backups;

public slots:
    void mnu_Exit_Click();

private:
    void MDIForm_Load();
};
