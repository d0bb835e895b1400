// Opening, statements and transactions, handed to the backend the connection string chose.
#include "connection.h"

#include "backend.h"
#include "store_error.h"

namespace store {
namespace {

[[noreturn]] void refuse(const QString& reason) {
    throw StoreError(reason);
}

} // namespace

bool names_server(const QString& connection_string) {
    return backend::names_server(connection_string);
}

Connection::Connection() = default;

Connection::~Connection() {
    Close();
}

void Connection::Open(const QString& connection_string, const QString&, const QString& password,
                      long) {
    if (backend_)
        refuse(QStringLiteral("the connection is already open"));
    backend_ = backend::names_server(connection_string)
                   ? backend::open_server(connection_string, password, busy_timeout_ms_)
                   : backend::open_file(connection_string, busy_timeout_ms_);
    ++session_;
    try {
        if (open_check_)
            open_check_(*this);
        backend_->finish_open();
    } catch (...) {
        Close();
        throw;
    }
    connection_string_ = connection_string;
}

void Connection::Close() {
    backend_.reset();
}

QString Connection::DatabasePath() const {
    return backend_ ? backend_->path() : QString();
}

bool Connection::OnServer() const {
    return backend_ && backend_->is_server();
}

std::int64_t Connection::Execute(const QString& statement, long) {
    require_open();
    if (hook_)
        hook_(statement);
    // The engines read a statement only up to a NUL: the rest would be dropped unseen.
    if (statement.contains(QChar::Null))
        refuse(QStringLiteral("the statement holds a NUL character, which cannot be stored"));
    return backend_->execute(statement);
}

void Connection::ExecuteForSession(const QString& statement) {
    require_open();
    backend_->keep_for_session(statement);
}

std::optional<std::int64_t> Connection::ReadNumber(const QString& query) {
    require_open();
    return backend_->read_number(query);
}

void Connection::CopyTo(const QString& target) {
    require_open();
    backend_->copy_to(target);
}

void Connection::BeginTrans() {
    require_open();
    if (InTransaction())
        refuse(QStringLiteral("a transaction is already in progress"));
    backend_->begin();
}

void Connection::CommitTrans() {
    require_open();
    if (!InTransaction())
        refuse(QStringLiteral("no transaction is in progress"));
    backend_->commit();
}

bool Connection::InTransaction() const {
    return backend_ && backend_->in_transaction();
}

std::unique_ptr<backend::Query> Connection::prepare(const QString& statement) {
    require_open();
    if (hook_)
        hook_(statement);
    if (statement.contains(QChar::Null))
        refuse(QStringLiteral("the statement holds a NUL character, which cannot be stored"));
    return backend_->prepare(statement);
}

void Connection::require_open() const {
    if (!backend_)
        refuse(QStringLiteral("the connection is closed"));
}

void Connection::rollback_quietly() noexcept {
    if (backend_)
        backend_->rollback_quietly();
}

Transaction::Transaction(Connection& connection) : connection_(connection) {
    connection_.BeginTrans();
}

Transaction::~Transaction() {
    if (!finished_)
        connection_.rollback_quietly();
}

void Transaction::commit() {
    connection_.CommitTrans();
    finished_ = true;
}

} // namespace store
