// TExtractor: one run of the bootstrap. It opens its own executable, makes a
// fresh temporary folder, decodes every entry of the archive behind its image,
// writes the entries of the fixed list below into the temporary or the system
// folder under their upper-case names, leaves Setup.ini with its own path and
// starts the setup program with that path.
//
// Invariants kept for safety:
// - an entry name that is not a plain file name is never used in a path;
// - an entry that fails to decode is not written, and then no Setup.ini is
//   written and nothing is started;
// - a file already in the system folder is never replaced;
// - the temporary folder is ours: created now, or an existing real folder of
//   the current user.
#pragma once

#include "file_stream.h"
#include "memory_stream.h"

#include <array>
#include <memory>
#include <random>
#include <string>
#include <string_view>

class TExtractor {
public:
    // `ownPath`: the bootstrap's own executable, the file that carries the archive.
    explicit TExtractor(std::string ownPath);
    virtual ~TExtractor() = default;
    TExtractor(const TExtractor&) = delete;
    TExtractor& operator=(const TExtractor&) = delete;

    // Opens Archive, prepares the folders and extracts; a failed extraction is
    // reported with a beep and "Error extracting files" / "KTB error".
    void Run();
    // Draws and makes TempDir, and finds SystemDir.
    void PrepareFolders();
    // Extracts every entry, writes Setup.ini and starts the setup program;
    // false when an entry failed to decode (then neither of the last two happens).
    bool ExtractAll();

    std::unique_ptr<FileStream> Archive;
    std::string SystemDir; // without a trailing separator
    std::string TempDir;   // without a trailing separator

protected:
    // The next pseudo-random folder number, 0 to 4999, from the generator that
    // PrepareFolders seeds from the clock (tests choose the numbers).
    virtual int drawFolderNumber();

private:
    // Writes a decoded entry's file where the list names it, replacing the
    // one of an earlier run.
    void SaveEntry(const std::string& name, const TMemoryStream& bytes);

    std::string ownPath_;
    std::minstd_rand random_;
};

namespace extractor {

enum class Target { temporaryFolder, systemFolder };
struct ListedFile {
    std::string_view name;
    Target target;
};

// The names that are written at all, in the order they are tried.
inline constexpr std::array<ListedFile, 9> kFileList{{
    {"SETUP.EXE", Target::temporaryFolder},
    {"KTB_UNZ.DLL", Target::temporaryFolder},
    {"KTB_UNZDLL.DLL", Target::systemFolder},
    {"MSVBVM60.DLL", Target::systemFolder},
    {"ASYCFILT.DLL", Target::systemFolder},
    {"COMCAT.DLL", Target::systemFolder},
    {"OLEAUT32.DLL", Target::systemFolder},
    {"OLEPRO32.DLL", Target::systemFolder},
    {"KTB_UNISTALLER2006.EXE", Target::systemFolder},
}};

inline constexpr std::string_view kTempFolderPrefix = "Ktb_";
inline constexpr int kTempFolderNumbers = 5000; // the number drawn is 0 to 4999
inline constexpr int kTempFolderTries = 100;
inline constexpr std::string_view kHandOverFile = "Setup.ini";
inline constexpr const char* kExtractError = "Error extracting files";
inline constexpr const char* kExtractErrorCaption = "KTB error";

// ASCII letters a-z upper-cased, every other byte kept.
inline std::string upperCaseAscii(std::string_view name) {
    std::string upper(name);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return upper;
}

} // namespace extractor
