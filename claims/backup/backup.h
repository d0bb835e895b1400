// Backups of the register file and their restore.
//
// A backup is made by the engine from a read snapshot of the live register (the journal's claims
// included), into a temporary file beside the target, flushed, then checked (opened with the key,
// integrity check, the claims counted equal to the snapshot's) and only then renamed into place.
// It is a file of its own: no journal beside it belongs to it. One that would not fit on the disk
// is not started.
//
// A restore checks the chosen copy first, in a temporary file beside the register (key,
// integrity, layout, claims); only then are the register and its side files moved aside as
// "VETRA.mdb.before-restore-<time>" (with "-wal"/"-shm" after that name, so the pair opens as it
// was) and the copy renamed into place. A refusal leaves the register as it was.
//
// Failures are store::StoreError with a reason a clerk can read. Nothing here shows a window.
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <stdexcept>

namespace backup {

// What a checked copy holds.
struct Copy {
    QString path;
    std::int64_t claims = 0;
    int layout = 0;
    QDateTime taken;   // when the copy was written
    QString set_aside; // after a restore: the register as it was
};

// A restore that put the copy in place, after which the register cannot be opened.
class ReopenError : public std::runtime_error {
public:
    ReopenError(const Copy& restored, const QString& reason)
        : std::runtime_error(reason.toStdString()), restored(restored), reason(reason) {}
    Copy restored;
    QString reason;
};

// Copies the register at `register_path` to `target` (replacing a file there only once the copy
// is complete and sound).
Copy back_up(const QString& register_path, const QString& password, const QString& target);

// Puts the copy `backup_file` in place of the register at `register_path`. `close_register`
// runs right before the register is moved aside and must close every connection to it; the
// caller opens the restored register again. `now` names the file set aside.
Copy restore(const QString& register_path, const QString& password, const QString& backup_file,
             const QDateTime& now, const std::function<void()>& close_register);

// A "-wal" beside the register that the engine would read into it although it does not belong to
// it (a copy put back by hand): the register alone reads sound, with the journal it does not.
// Such side files are renamed "<name>.stray-<time>" and their new names returned; nothing is
// changed otherwise. Reads both without writing either.
QStringList set_aside_stray_journal(const QString& register_path, const QString& password,
                                    const QDateTime& now);

// What a register answers for the Register menu. The register file is the one kind today.
class RegisterBackups {
public:
    virtual ~RegisterBackups() = default;
    virtual Copy back_up(const QString& target) = 0;
    // Restores and opens the register again; throws ReopenError when that open fails.
    virtual Copy restore(const QString& backup_file, const QDateTime& now) = 0;
    // The folder of the automatic copies.
    virtual QString automatic_folder() const = 0;
};

// The register of Module1, the program's shared connections.
class FileRegister : public RegisterBackups {
public:
    Copy back_up(const QString& target) override;
    Copy restore(const QString& backup_file, const QDateTime& now) override;
    QString automatic_folder() const override;
};

} // namespace backup
