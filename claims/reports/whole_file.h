// Exports are written whole or not at all: to a temporary file beside the target, every write
// checked, flushed to the disk, then renamed over the target. A failure leaves no file under the
// chosen name and an earlier file there untouched. The file is readable by its owner only, as
// the register is: a list of claims is no business of the machine's other users.
#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

namespace reports {

// The last step of writing a whole file: flushes the finished file `temporary` (beside `path`) to
// the disk, renames it over `path` and flushes the folder, so the new name survives a power cut
// too. On failure removes `temporary`, returns false and says why in `error`.
bool renameWholeFile(const QString& temporary, const QString& path, QString* error);

// A whole file written as a stream, piece by piece: the pieces go to a temporary file beside
// `path` (buffered, every write checked); commit() puts it in place. Destroyed without a commit,
// or when a write failed, it leaves no file behind.
class WholeFile : public QIODevice {
public:
    explicit WholeFile(const QString& path);
    ~WholeFile() override;
    WholeFile(const WholeFile&) = delete;
    WholeFile& operator=(const WholeFile&) = delete;

    // Makes the temporary file and opens the device for writing.
    bool create(QString* error);
    // Writes what is buffered, then as renameWholeFile; reports the first failed write instead.
    bool commit(QString* error);

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 length) override;

private:
    bool flushBuffer();
    void discard();

    QString path_;
    QByteArray temporary_;
    QByteArray buffer_;
    int fd_ = -1;
    int error_ = 0; // errno of the first failed write
};

} // namespace reports
