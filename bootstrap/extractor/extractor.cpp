// TExtractor's run: folders, the walk over the archive, the hand-over to the
// setup program.
#include "extractor.h"

#include "archive_format.h"
#include "archive_reader.h"
#include "bootstrap_error.h"
#include "image_end.h"
#include "os_services.h"
#include "se_compress.h"

#include <utility>

namespace extractor {

std::string upperCaseAscii(std::string_view name) {
    std::string upper(name);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return upper;
}

} // namespace extractor

using namespace extractor;

namespace {

std::string inFolder(const std::string& folder, std::string_view name) {
    return folder + os::kPathSeparator + std::string(name);
}

bool isProgramName(std::string_view upperName) {
    return upperName.ends_with(".EXE");
}

void saveFile(const std::string& path, const TMemoryStream& bytes, bool executable) {
    FileStream file = FileStream::create(path, executable);
    file.WriteBuffer(bytes.Memory(), bytes.Size());
}

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
        // A folder that cannot be made at all is left to the file writes to report.
        if (os::createFolder(TempDir) != os::FolderResult::existingOther) {
            break;
        }
        if (tries == kTempFolderTries) {
            throw EBootstrapError("Cannot create a temporary folder in \"" + temporary + "\"");
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
        throw EBootstrapError("Not an executable image: \"" + ownPath_ + "\"");
    }
    ArchiveReader reader(*Archive, *archiveOffset);
    TMemoryStream compressed;
    TMemoryStream decoded;
    for (std::int32_t entry = 0; entry < reader.Count(); ++entry) {
        decoded.Clear();
        const std::string name = reader.ReadEntry(compressed);
        if (!TSECompress::DecompressStream(compressed, decoded)) {
            return false;
        }
        if (!archive::isPlainFileName(name)) {
            continue;
        }
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
                saveFile(path, decoded, isProgramName(upperName));
            }
        }
    }

    const std::string handOver = ownPath_ + "\r\n";
    FileStream setupIni = FileStream::create(inFolder(TempDir, kHandOverFile), false);
    setupIni.WriteBuffer(handOver.data(), handOver.size());
    // The file written above, by its own name: systems that tell letter cases
    // apart would not find "Setup.EXE".
    os::startProgram(inFolder(TempDir, kFileList[0].name), ownPath_);
    return true;
}
