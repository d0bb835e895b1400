// Main window, its menus and the modal showing of work forms.
#include "VETRA.h"

#include "module1.h"

#include <QApplication>
#include <QDialog>
#include <QMdiArea>
#include <QMenuBar>

namespace {

QAction* add_item(QMenu* menu, const char* name, const QString& caption) {
    QAction* item = menu->addAction(caption);
    item->setObjectName(name);
    item->setEnabled(false); // until a form is attached
    return item;
}

QMenu* add_menu(QMenuBar* bar, const char* name, const QString& caption) {
    QMenu* menu = bar->addMenu(caption);
    menu->setObjectName(name);
    return menu;
}

} // namespace

VETRA::VETRA(QWidget* parent)
    : QMainWindow(parent), mdi_area(new QMdiArea(this)),
      mnu_Entry(add_menu(menuBar(), "mnu_Entry", "Forms")),
      mnuAddCase(add_item(mnu_Entry, "mnuAddCase", "Case Detail")),
      mnu_StatusUpdation(add_item(mnu_Entry, "mnu_StatusUpdation", "Case Status Updation")),
      Line1(mnu_Entry->addSeparator()), mnu_Exit(mnu_Entry->addAction("Exit")),
      mnu_reports(add_menu(menuBar(), "mnu_reports", "Reports")),
      mnu_list(add_item(mnu_reports, "mnu_list", "List of Cases")),
      mnu_pendancy(add_item(mnu_reports, "mnu_pendancy", "Consolidated Report")),
      mnu_find((mnu_Entry->addSeparator(), add_item(mnu_Entry, "mnu_find", "Find Claim"))),
      mnu_history(add_item(mnu_Entry, "mnu_history", "Claim History")),
      mnu_register(add_menu(menuBar(), "mnu_register", "Register")),
      mnu_backup(add_item(mnu_register, "mnu_backup", "Back Up Register...")),
      mnu_restore(add_item(mnu_register, "mnu_restore", "Restore Register...")),
      mnu_backups(add_item(mnu_register, "mnu_backups", "Backups...")) {
    setObjectName("VETRA");
    setWindowTitle("Vetraplex");
    setCentralWidget(mdi_area);
    Line1->setObjectName("Line1");
    mnu_Exit->setObjectName("mnu_Exit");
    connect(mnu_Exit, &QAction::triggered, this, &VETRA::mnu_Exit_Click);
    setWindowState(Qt::WindowMaximized);
    MDIForm_Load();
}

VETRA::~VETRA() = default;

void VETRA::attach_form(QAction* item, FormFactory factory) {
    item->setEnabled(true);
    connect(item, &QAction::triggered, this, [this, factory = std::move(factory)] {
        const std::unique_ptr<QDialog> form = factory(this);
        form->exec();
    });
}

void VETRA::mnu_Exit_Click() {
    QApplication::exit(0);
}

void VETRA::MDIForm_Load() {
    Module1::open_database();
}
