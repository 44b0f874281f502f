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

// A file time as the local DOS date (high word) and time (low word); 0 when it has none.
uint32_t LocalDosTime(const FILETIME& utc);

// The lookups by name take the name as it is, never as a pattern: a '*' or '?' in it matches
// nothing, so that a name from outside cannot stand for another file.
// The size of the entry of that name (a folder's gives 0), or -1 when there is none.
int64_t FileSizeOf(const std::string& name);

// The absolute path of path, resolved against the current folder.
std::string FullPathOf(const std::string& path);

// True when an entry of that name exists and it is not a folder.
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
// Text of the active ANSI code page in UTF-8 (a zip member's name); a byte the code page cannot
// read becomes its replacement character.
std::string Utf8OfAnsi(std::string_view ansi);

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
