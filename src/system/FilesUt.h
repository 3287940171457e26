// FilesUt: small operations over the system's file interface. Splitting the command line into
// the program's path and its parameter, opening a file by a compact mode word, reading and
// writing whole files, deleting a file even when it is read-only, taking paths apart, and
// removing a chain of emptied directories.
//
// Texts are counted byte strings in the ANSI code page; paths go to the system unchanged (no
// case folding, no normalisation). A path that holds a zero byte names nothing: it cannot
// reach the system unchanged. Nothing here throws or shows anything: failures are false, an
// empty text, or an owner that holds no handle. Windows builds only.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "system/WinSys.h"

// ---- Command line -------------------------------------------------------------------------

// Splits line into the program's own path (quoted or not, blanks allowed: the file system is
// asked where it ends) and the parameter: the rest of the line after the blanks and double
// quotes that follow the path, up to the end (trailing blanks and a closing quote kept).
// Both are empty when no leading part of the line names an existing file.
void SplitCommandLine(std::string_view line, std::string& program, std::string& parameter);
// SplitCommandLine of this process's command line.
void GetParameters(std::string& program, std::string& parameter);

// ---- Existence ----------------------------------------------------------------------------

// Stands for "no attributes at all" in FileExistsAttr's test.
constexpr uint32_t FA_NONE = 0x8000;
// Normal, archive, system, hidden, read-only or none: every file, but no plain directory.
constexpr uint32_t FA_ANYFILE = 0x80A7;

// True when the first entry the system finds for path has an attribute in mask (FA_NONE
// stands for an entry without attributes).
bool FileExistsAttr(std::string_view path, uint32_t mask);

// ---- Open-mode word -----------------------------------------------------------------------

constexpr uint32_t FM_READ = 0x1;         // access GENERIC_READ
constexpr uint32_t FM_WRITE = 0x2;        // access GENERIC_WRITE
constexpr uint32_t FM_SHAREREAD = 0x4;    // share FILE_SHARE_READ
constexpr uint32_t FM_SHAREWRITE = 0x8;   // share FILE_SHARE_WRITE
constexpr uint32_t FM_OPENALWAYS = 0x10;  // disposition OPEN_ALWAYS (else OPEN_EXISTING)
constexpr uint32_t FM_CREATENEW = 0x20;   // disposition CREATE_NEW; wins over FM_OPENALWAYS
constexpr uint32_t FM_ARCHIVE = 0x40;     // attribute FILE_ATTRIBUTE_ARCHIVE
constexpr uint32_t FM_HIDDEN = 0x80;      // attribute FILE_ATTRIBUTE_HIDDEN
constexpr uint32_t FM_READONLY = 0x100;   // attribute FILE_ATTRIBUTE_READONLY (new files)
constexpr uint32_t FM_SYSTEM = 0x200;     // attribute FILE_ATTRIBUTE_SYSTEM
constexpr uint32_t FM_FILEFLAGS = 0xFC00; // passed on as the system's file flags (bits 26-31)

// The program's two modes: reading the log (others may read too), and writing it (read and
// write, others may read and write, open or create, a new file read-only).
constexpr uint32_t FM_LOGREAD = FM_READ | FM_SHAREREAD;
constexpr uint32_t FM_LOGWRITE =
    FM_READ | FM_WRITE | FM_SHAREREAD | FM_SHAREWRITE | FM_OPENALWAYS | FM_READONLY;

// The four arguments of CreateFileA that a mode word stands for.
struct TFile_OpenArgs {
  DWORD Access = 0;
  DWORD Share = 0;
  DWORD Disposition = 0;
  DWORD FlagsAndAttributes = 0;  // FILE_ATTRIBUTE_NORMAL always included
};

// Decodes a mode word.
TFile_OpenArgs DecodeFileMode(uint32_t mode);
// CreateFileA of path with the decoded mode (no security attributes, no template); the owner
// holds no handle when the system refused.
KernelHandle OpenFileMode(std::string_view path, uint32_t mode);

// ---- Whole files --------------------------------------------------------------------------

// text := the whole file, opened with mode: exactly the bytes read, so a short or failed read
// gives fewer bytes, and a file that cannot be opened (or is too large for a text) the empty
// text. Returns text.
const std::string& ReadWholeFile(std::string_view path, uint32_t mode, std::string& text);
// Opens path with mode, writes text from the file's start and cuts the file off behind it.
// True only when the file opened, every byte was written, the file was cut to that length and
// closed; a file that cannot be opened is left alone.
bool WriteWholeFile(std::string_view path, std::string_view text, uint32_t mode);

// ---- Deletion -----------------------------------------------------------------------------

// Deletes a file, clearing a read-only attribute first. False for the empty path, a missing
// path or a directory (nothing changes), and when the deletion fails (the file gets its former
// attributes back).
bool DeleteFileForced(std::string_view path);

// ---- Paths --------------------------------------------------------------------------------

// name := the part of path after its last '\' or '/' (all of it when it has neither), or the
// empty text when that part is not a valid file name. Returns name.
const std::string& FileNamePart(std::string_view path, std::string& name);
// False for the empty name, a name holding a byte below 0x20 or one of < > / | " * ? : \, and
// a name made only of blanks and full stops.
bool IsValidFileName(std::string_view name);
// dir := path up to its last '\' or ':', that '\' dropped unless it follows a '\' or ':' or
// starts the path ('C:\Apps\a.exe' gives 'C:\Apps', 'C:\a.exe' 'C:\', 'C:a.exe' 'C:', 'a.exe'
// the empty text). '/' does not separate here. Returns dir.
const std::string& DirectoryPart(std::string_view path, std::string& dir);
// Removes directory and then each parent in turn, as far as they are empty, up to and
// including stop. Trailing '\' and blanks do not count. A directory that is neither stop
// itself nor below it (whole components, stop's bytes exactly) is left alone. With an empty
// stop the walk goes up to the drive.
void PruneDirectories(std::string_view directory, std::string_view stop);
