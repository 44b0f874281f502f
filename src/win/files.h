#pragma once
// Directory entries and file names on the real file system, in the active ANSI code page.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/package_kinds.h"
#include "core/text_rules.h"
#include "win/handles.h"

// The system's WriteFile, or a stand-in with its signature.
using TRawWrite = BOOL(WINAPI*)(HANDLE file, LPCVOID data, DWORD size, LPDWORD written, LPOVERLAPPED overlapped);

// Writes all of data; false when the write fails or takes fewer bytes (a full disk may do either).
bool WriteAllBytes(HANDLE file, const void* data, DWORD size, TRawWrite rawWrite = ::WriteFile);

// One directory entry as the find-first lookup reports it, with the search that found it still
// open (closed when the entry is destroyed or Search is reset).
struct TDirEntry {
  std::string Name;  // without folder
  uint32_t Attr = 0;
  int32_t Size = 0;  // low 32 bits of the size, read as signed
  uint32_t Time = 0; // last write, local time, as DOS date (high word) and time (low word)
  TFindHandle Search;
};

// A file time as the local DOS date (high word) and time (low word); 0 when it has none.
uint32_t LocalDosTime(const FILETIME& utc);

// Looks up name (wildcards '*' and '?' allowed; every kind of entry, folders included, is
// admitted). On a match fills entry, search still open, and returns true; otherwise false and
// nothing stays open.
bool FindFile(const std::string& name, TDirEntry& entry);

// The size of the first entry matching name (a folder's entry gives 0), or -1 when none does.
int32_t FileSizeOf(const std::string& name);

// The absolute path of path, resolved against the current folder.
std::string FullPathOf(const std::string& path);

// True when an entry matches path and it is not a folder.
bool IsFilePresent(const std::string& path);

// The active ANSI code page's lead-byte test.
bool SystemLeadByte(unsigned char byte);

// The path functions and the kind test in the active ANSI code page.
std::string FileExtOf(std::string_view path);
std::string FileNameOf(std::string_view path);
std::string FolderOf(std::string_view path);
TPackageKind GetPackageKind(std::string_view name);

// UTF-8 text (a library list, a zip member's name) in the active ANSI code page; nothing when it
// is no valid UTF-8 or the code page cannot spell it, since such a name cannot be opened here.
std::optional<std::string> AnsiOfUtf8(std::string_view utf8);

// UTF-16LE text (a line of a cache index the game wrote so) in the active ANSI code page, each
// character the code page cannot spell given as '?', which no file name may hold; fits tells
// whether every character could be spelled.
std::string AnsiOfUtf16(std::string_view utf16le, bool& fits);

// Makes folder (a path ending in '\' or not) and every folder above it that is missing. Returns
// the first folder that could not be made, with the system's error, or an empty text when the
// folder is there.
std::string MakeFolderPath(const std::string& folder, DWORD& error);

// path in upper case by the code page's own rule, as the file system compares names: two paths
// with equal results name one file.
std::string FileSystemCase(std::string_view path);

// The decimal separator of the user's regional settings ('.' when none can be read).
char SystemDecimalSeparator();
