#pragma once
// String and path rules shared by the whole program. Strings are byte strings in the ANSI code
// page; equality is byte for byte with letter case significant, and "begins with" is the same
// test on a prefix. Paths use '\' between folders and ':' after a drive letter.
#include <string>
#include <string_view>

// Tells whether a byte opens a double-byte character in the code page the text is written in.
using TLeadByteTest = bool (*)(unsigned char);

// The lead-byte test of a single-byte code page: no byte opens a pair.
bool NoLeadBytes(unsigned char);

// The n-th field (counted from 1) of s split at any byte of delimiters. Runs of delimiters only
// separate fields, so leading, trailing or repeated delimiters make no empty fields; n <= 0 or
// beyond the last field gives an empty string. With no delimiters, a non-empty s is field 1.
std::string ExtractField(int n, std::string_view s, std::string_view delimiters);

// Normalises a folder's ending: empty stays empty, "C:" becomes "C:\", any other one- or
// two-byte text is unchanged, a longer one gains a '\' unless it already ends in one.
std::string AddTrailingBackslash(std::string_view path);

// The path functions look for the last '\' or ':' (and '.' for the extension). The trail byte of
// a double-byte character is never taken for a delimiter, so isLeadByte must describe the code
// page the path is written in.
// The extension, dot included, or empty when the last delimiter is not a '.'.
std::string FileExtOf(std::string_view path, TLeadByteTest isLeadByte);
// The text after the last '\' or ':', or the whole path when it has neither.
std::string FileNameOf(std::string_view path, TLeadByteTest isLeadByte);
// The text up to and including the last '\' or ':', or empty when the path has neither.
std::string FolderOf(std::string_view path, TLeadByteTest isLeadByte);

// s without the bytes 0 to 32 (space and control characters) at either end.
std::string TrimBlanks(std::string_view s);

// True when s starts with prefix, letter case significant.
bool BeginsWith(std::string_view s, std::string_view prefix);

// s with a..z turned into A..Z; every other byte unchanged.
std::string UpperCaseAscii(std::string_view s);

// True when a and b are equal but for the letter case of a..z.
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);

// A name from outside as a box shows it: each byte below 32 as '?', since a NUL would end the
// box's text there and a line break or tab would break its lines.
std::string ShownName(std::string_view name);

// A box lists at most this many names, then says how many more there are: it stays smaller than
// the screen, and its buttons on it.
inline constexpr size_t MaxShownNames = 20;
