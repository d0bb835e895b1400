// The program started on a server: a server it cannot use is one box and status 1 with nothing
// written; a password the server asks for is typed into a box that hides it and kept nowhere.
#include "acceptance.h"
#include "connection.h"
#include "schema.h"
#include "server_start.h"
#include "temporary_register.h"
#include "test_server.h"

#include <QSettings>

namespace acceptance {
namespace {

// The role the tests' cluster asks a password of (scripts/test-cluster).
const QString kPasswordRole = "vetra_password";

// Starts the program on `server` with a sign-in; the main window, if it opens, is closed.
int start_on(const QString& server) {
    const AwaitWindow<frmLogin> login(sign_in);
    const AwaitWindow<VETRA> opened([](VETRA& window) { window.mnu_Exit->trigger(); });
    const int status = run_register({"vetra", "--server", server});
    store::TemporaryRegister::close_all();
    Module1::server.clear();
    Module1::server_password.clear();
    return status;
}

class ServerStart : public ::testing::Test {
protected:
    void SetUp() override {
        qputenv("PGPASSFILE", "/nonexistent"); // only what the test gives
        store::TestDatabase::administer(
            QStringLiteral("DO $$BEGIN CREATE ROLE %1 LOGIN PASSWORD 'right'; EXCEPTION WHEN "
                           "duplicate_object THEN NULL; END$$")
                .arg(kPasswordRole));
        store::TestDatabase::administer("GRANT vetra_clerk TO " + kPasswordRole);
    }
    store::RegisterPlace good{store::Backend::Server};
};

TEST_F(ServerStart, EachUnusableServerIsOneClearBoxStatusOneAndNothingWritten) {
    store::TestDatabase empty;
    store::RegisterPlace newer(store::Backend::Server);
    store::Connection owner;
    owner.Open(newer.where);
    owner.Execute("Update vetra_register set version = version + 1");
    const struct {
        QString server;
        QString reason;
    } cases[] = {
        {good.where + " user=" + kPasswordRole + " password=wrong",
         "password authentication failed"},
        {good.where + "_missing", "does not exist"},
        {empty.conninfo(), "the database holds no register"},
        {newer.where, "the register was made by a newer version of the program (layout " +
                          QString::number(store::kSchemaVersion + 1)},
        {"host=/nonexistent dbname=vetra", "No such file or directory"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.server.toStdString());
        platform::DialogScript boxes(fail);
        EXPECT_EQ(start_on(c.server), 1);
        ASSERT_EQ(boxes.shown().size(), 1u);
        const platform::ShownBox& box = boxes.shown().front();
        EXPECT_EQ(box.title, "Database Error");
        EXPECT_TRUE(box.text.startsWith("The register on the server postgresql://"))
            << box.text.toStdString();
        EXPECT_TRUE(box.text.contains(c.reason)) << box.text.toStdString();
        EXPECT_FALSE(box.text.contains("wrong")) << "the password is never shown";
    }
    // Nothing written: no register made in the empty database, the newer one left in its layout.
    store::Connection look;
    look.Open(empty.conninfo());
    EXPECT_EQ(look.ReadNumber("SELECT count(*) FROM pg_class WHERE relnamespace = "
                              "'public'::regnamespace"),
              0);
    EXPECT_EQ(owner.ReadNumber("SELECT version FROM vetra_register"), store::kSchemaVersion + 1);
}

TEST_F(ServerStart, APasswordTheServerAsksForIsTypedHiddenAndKeptNowhere) {
    const QString server = good.where + " user=" + kPasswordRole;
    for (const QString& password : {QString("right"), QString()}) {
        SCOPED_TRACE(password.toStdString());
        platform::DialogScript boxes(fail);
        bool hidden = false;
        std::optional<AwaitWindow<QDialog>> asked;
        const AwaitWindow<frmLogin> login([&](frmLogin& window) {
            sign_in(window);
            asked.emplace([&](QDialog& dialog) {
                vetra_testing::Clerk clerk(dialog);
                const auto* box = clerk.find<QLineEdit>("txt_server_password");
                hidden = box->echoMode() == QLineEdit::Password;
                clerk.type("txt_server_password", password);
                clerk.click(password.isEmpty() ? "cmd_cancel" : "cmd_ok");
            });
        });
        const AwaitWindow<VETRA> opened([](VETRA& window) {
            EXPECT_FALSE(window.mnu_backup->isEnabled());
            EXPECT_TRUE(window.mnu_backup->toolTip().contains("pg_dump"));
            window.mnu_Exit->trigger();
        });
        // The first start finds the server in the clerk's settings file (named as the program
        // names it), the second is told it.
        QApplication::setOrganizationName("Vetraplex");
        QApplication::setApplicationName("Vetraplex");
        QSettings().setValue(server_start::kServerSetting, password.isEmpty() ? "" : server);
        const QStringList arguments =
            password.isEmpty() ? QStringList{"vetra", "--server", server} : QStringList{"vetra"};
        EXPECT_EQ(run_register(arguments), password.isEmpty() ? 1 : 0);
        EXPECT_TRUE(hidden);
        EXPECT_TRUE(boxes.shown().empty());
        store::TemporaryRegister::close_all();
        Module1::server.clear();
        Module1::server_password.clear();
    }
    QSettings settings;
    for (const QString& key : settings.allKeys())
        EXPECT_FALSE(settings.value(key).toString().contains("right")) << key.toStdString();
}

} // namespace
} // namespace acceptance
