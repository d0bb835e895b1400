// The Help menu, the About box, the question before a new register and the window places.
#include "desktop.h"

#include "dialogs.h"
#include "module1.h"
#include "recordset.h"
#include "store_error.h"
#include "vetra_version.h"

#include <QApplication>
#include <QDir>
#include <QMainWindow>
#include <QMenuBar>
#include <QSettings>
#include <QWidget>

namespace desktop {

namespace {

// A one-value query on the open register; empty when the engine does not answer it.
QString engine_value(const QString& query) {
    try {
        store::Recordset answer;
        answer.Open(query, Module1::db_conn);
        return answer.Eof() ? QString() : answer.Fields(0).text();
    } catch (const store::StoreError&) {
        return {};
    }
}

// Keeps top-level windows of the names below where the user left them. A window's place is
// restored when it is first shown and saved whenever it is hidden (closed, or its dialog ends).
class WindowPlaces : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const bool shown = event->type() == QEvent::Show, hidden = event->type() == QEvent::Hide;
        if (!shown && !hidden)
            return false;
        auto* window = qobject_cast<QWidget*>(watched);
        if (!kept(window))
            return false;
        if (hidden) {
            save(*window);
        } else if (!window->property(kRestored).toBool()) {
            window->setProperty(kRestored, true);
            const QByteArray place = QSettings().value(key(*window)).toByteArray();
            if (!place.isEmpty())
                window->restoreGeometry(place);
        }
        return false;
    }

public:
    // The program may end with its main window still shown (Exit): its place is saved then.
    static void save_shown() {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (kept(window) && window->isVisible())
                save(*window);
    }

private:
    static constexpr char kRestored[] = "vetraPlaceRestored";
    static QString key(const QWidget& window) { return "windows/" + window.objectName(); }
    static void save(const QWidget& window) {
        QSettings().setValue(key(window), window.saveGeometry());
    }
    static bool kept(const QWidget* window) {
        if (window == nullptr || !window->isWindow())
            return false;
        const QString name = window->objectName();
        return name == "VETRA" || name == "frmCRCases" || name == "ReportPreviewDialog";
    }
};

} // namespace

QString about_text() {
    const QString sqlite = engine_value("select sqlite_version()");
    const QString cipher = engine_value("PRAGMA cipher_version");
    QString engine = "SQLite " + (sqlite.isEmpty() ? QString("(not open)") : sqlite);
    if (!cipher.isEmpty())
        engine = "SQLCipher " + cipher + " (" + engine + ")";
    return QString("Vetraplex %1\n\nRegister file: %2\nDatabase engine: %3\n\nLicence: %4")
        .arg(kVetraVersion, QDir::toNativeSeparators(Module1::database_path()), engine, kLicence);
}

void add_help_menu(QMainWindow& window) {
    QMenu* help = window.menuBar()->addMenu("Help");
    help->setObjectName("mnu_help");
    QAction* about = help->addAction("About Vetraplex");
    about->setObjectName("mnu_about");
    QObject::connect(about, &QAction::triggered, &window, [] {
        platform::MsgBox(about_text(), platform::MsgBoxStyle::Information, "About Vetraplex");
    });
}

bool agree_to_new_register(const QString& database_path) {
    return platform::MsgBox("There is no register here yet. A new, empty register will be "
                            "created:\n\n" +
                                QDir::toNativeSeparators(database_path) +
                                "\n\nCreate it? (No ends the program and creates nothing.)",
                            platform::MsgBoxStyle::Question, "New Register") == platform::vbYes;
}

void remember_window_places() {
    qApp->installEventFilter(new WindowPlaces(qApp));
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, qApp, &WindowPlaces::save_shown);
}

} // namespace desktop
