// A claims_writer child process.
#include "writer_process.h"

#include <QDeadlineTimer>

namespace acceptance {

WriterProcess::WriterProcess(const QStringList& arguments) {
    process_.start(QStringLiteral(CLAIMS_WRITER), arguments);
}

WriterProcess::~WriterProcess() {
    if (process_.state() != QProcess::NotRunning)
        kill();
}

void WriterProcess::collect() {
    pending_ += process_.readAllStandardOutput();
    errors_ += process_.readAllStandardError();
    for (qsizetype end = pending_.indexOf('\n'); end >= 0; end = pending_.indexOf('\n')) {
        lines_ << QString::fromUtf8(pending_.left(end));
        pending_.remove(0, end + 1);
    }
}

std::optional<QString> WriterProcess::next_line(int timeout_ms) {
    const QDeadlineTimer deadline(timeout_ms);
    collect();
    while (taken_ == lines_.size()) {
        if (process_.state() == QProcess::NotRunning || deadline.hasExpired())
            return std::nullopt;
        process_.waitForReadyRead(int(std::max<qint64>(1, deadline.remainingTime())));
        collect();
    }
    return lines_[taken_++];
}

void WriterProcess::tell(const QString& line) {
    process_.write((line + '\n').toUtf8());
    process_.waitForBytesWritten();
}

void WriterProcess::kill() {
    process_.kill(); // SIGKILL: no handler, no flush, no clean-up runs
    process_.waitForFinished();
    collect();
}

int WriterProcess::finish(int timeout_ms) {
    const bool ended = process_.waitForFinished(timeout_ms);
    collect();
    if (!ended || process_.exitStatus() != QProcess::NormalExit)
        return -1;
    return process_.exitCode();
}

QString WriterProcess::errors() {
    collect();
    return QString::fromLocal8Bit(errors_);
}

} // namespace acceptance
