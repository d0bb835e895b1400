// Test side of claims_writer: starts it as a child process, talks to it line by line, kills it
// or waits for its end, and keeps everything it printed for the checks and for failure messages.
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <optional>

namespace acceptance {

class WriterProcess {
public:
    explicit WriterProcess(const QStringList& arguments);
    ~WriterProcess();
    WriterProcess(const WriterProcess&) = delete;
    WriterProcess& operator=(const WriterProcess&) = delete;

    // The next line it prints, or nothing when it ends or stays silent for `timeout_ms`.
    std::optional<QString> next_line(int timeout_ms = 30000);
    // Writes one line to its input.
    void tell(const QString& line);
    // Kills it at once, as a power cut would, and collects what it printed before.
    void kill();
    // Waits for its end; returns its exit status, or -1 when it crashed or did not end in time.
    int finish(int timeout_ms);

    // Every line printed so far (those taken by next_line included).
    const QStringList& lines() const { return lines_; }
    // Its standard error, for failure messages.
    QString errors();

private:
    void collect();

    QProcess process_;
    QByteArray pending_;
    QStringList lines_;
    qsizetype taken_ = 0;
    QByteArray errors_;
};

} // namespace acceptance
