// TExtractor's run: folders, the walk over the archive, the hand-over to the
// setup program.
#include "extractor.h"

#include "archive_format.h"
#include "archive_reader.h"
#include "bootstrap_error.h"
#include "image_end.h"
#include "os_services.h"
#include "se_compress.h"

#include <array>
#include <exception>
#include <system_error>
#include <thread>
#include <utility>

using namespace extractor;

namespace {

std::string inFolder(const std::string& folder, std::string_view name) {
    return folder + os::kPathSeparator + std::string(name);
}

bool isProgramName(std::string_view upperName) {
    return upperName.ends_with(".EXE");
}

// Writes a new file; a name that something (a link too) took meanwhile is left alone.
void saveFile(const std::string& path, const TMemoryStream& bytes, bool executable) {
    if (auto file = FileStream::createUnlessTaken(path, executable)) {
        file->WriteBuffer(bytes.Memory(), bytes.Size());
    }
}

// File work for one entry at a time on a thread of its own, in the order it
// is started; its exception reaches the caller when the next work starts or
// at finish(). Without a thread the work runs on the caller's.
class FileWork {
public:
    FileWork() = default;
    FileWork(const FileWork&) = delete;
    FileWork& operator=(const FileWork&) = delete;
    ~FileWork() {
        if (thread_.joinable()) {
            thread_.join();
        }
    }

    template <class Work> void start(Work work) {
        finish();
        try {
            thread_ = std::thread([this, work] {
                try {
                    work();
                } catch (...) {
                    failure_ = std::current_exception();
                }
            });
        } catch (const std::system_error&) {
            work();
        }
    }

    // Waits for the work started last; throws what it threw.
    void finish() {
        if (thread_.joinable()) {
            thread_.join();
        }
        if (failure_) {
            std::rethrow_exception(std::exchange(failure_, nullptr));
        }
    }

private:
    std::thread thread_;
    std::exception_ptr failure_;
};

} // namespace

TExtractor::TExtractor(std::string ownPath) : ownPath_(std::move(ownPath)) {}

void TExtractor::Run() {
    Archive = std::make_unique<FileStream>(FileStream::openForReading(ownPath_));
    PrepareFolders();
    if (!ExtractAll()) {
        os::beep();
        os::messageBox(kExtractError, kExtractErrorCaption, os::MessageStyle::plain);
    }
    Archive.reset();
}

int TExtractor::drawFolderNumber() {
    return static_cast<int>(random_() % kTempFolderNumbers);
}

void TExtractor::PrepareFolders() {
    random_.seed(os::clockSeed());
    const std::string temporary = os::temporaryFolder();
    // A name that exists as a link, a file or another user's folder could lead our
    // files elsewhere or hand them to someone else: draw again, a bounded number of times.
    for (int tries = 1;; ++tries) {
        TempDir = temporary + std::string(kTempFolderPrefix) + std::to_string(drawFolderNumber());
        std::string reason;
        const os::FolderResult result = os::createFolder(TempDir, reason);
        if (result == os::FolderResult::failed) {
            // Before anything is written: the cause, not a file that cannot go in it.
            throw EBootstrapError(kFolderErrorKind,
                                  "Cannot create folder \"" + TempDir + "\". " + reason);
        }
        if (result != os::FolderResult::existingOther) {
            break;
        }
        if (tries == kTempFolderTries) {
            throw EBootstrapError(kFolderErrorKind,
                                  "Cannot create a temporary folder in \"" + temporary + "\"");
        }
    }
    SystemDir = os::systemFolder();
}

bool TExtractor::ExtractAll() {
    const auto archiveOffset =
        image::imageEnd([this](std::uint64_t offset, std::span<std::uint8_t> into) {
            Archive->SetPosition(offset);
            Archive->ReadBuffer(into.data(), into.size());
        });
    if (!archiveOffset) {
        throw EBootstrapError(kReadErrorKind, "Not an executable image: \"" + ownPath_ + "\"");
    }
    ArchiveReader reader(*Archive, *archiveOffset);
    TMemoryStream compressed;
    // An entry's files are written while the next one decodes, into the other stream.
    std::array<TMemoryStream, 2> decoded;
    std::size_t free = 0; // the stream no file work reads
    FileWork files;
    try {
        for (std::int32_t entry = 0; entry < reader.Count(); ++entry) {
            TMemoryStream& bytes = decoded[free];
            bytes.Clear();
            const std::string name = reader.ReadEntry(compressed);
            if (!TSECompress::DecompressStream(compressed, bytes)) {
                files.finish();
                return false;
            }
            if (!archive::unsafeNameReason(name).empty()) {
                continue;
            }
            files.start([this, name, &bytes] { SaveEntry(name, bytes); });
            free = 1 - free;
        }
    } catch (...) {
        files.finish(); // a failure of the earlier entry's files comes first
        throw;
    }
    files.finish();

    const std::string handOver = ownPath_ + "\r\n";
    // Files are only ever created new: one from an earlier run in a reused folder goes first.
    os::deleteFile(inFolder(TempDir, kHandOverFile));
    FileStream setupIni = FileStream::create(inFolder(TempDir, kHandOverFile), false);
    setupIni.WriteBuffer(handOver.data(), handOver.size());
    // The file written above, by its own name: systems that tell letter cases
    // apart would not find "Setup.EXE".
    os::startProgram(inFolder(TempDir, kFileList[0].name), ownPath_);
    return true;
}

void TExtractor::SaveEntry(const std::string& name, const TMemoryStream& bytes) {
    const std::string upperName = upperCaseAscii(name);
    os::deleteFile(inFolder(TempDir, name));
    if (upperName != name) {
        // On a case-sensitive system the file an earlier run wrote has the upper-case name.
        os::deleteFile(inFolder(TempDir, upperName));
    }
    for (const ListedFile& row : kFileList) {
        const std::string path =
            inFolder(row.target == Target::temporaryFolder ? TempDir : SystemDir, row.name);
        if (!os::fileExists(path) && upperName == row.name) {
            saveFile(path, bytes, isProgramName(upperName));
        }
    }
}
