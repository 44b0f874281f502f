#pragma once
// The one check that a name from outside the program (a real file name or a key in cache.ini, a
// member of an archive, a name in a package file, another program's record) is a plain file name
// before it becomes part of a path or of the game tool's command line. Cache packs are downloaded
// from the web and copied in by hand, so cache.ini can hold anything.
#include <string_view>

#include "core/text_rules.h"

// The longest path the ANSI file functions take, in characters, its terminating zero included.
inline constexpr size_t MaxPathChars = 260;

// True when name is a plain file name and folder + name stays a usable path: name not empty, not
// "." or "..", without '\', '/' or ':', without the wildcards and redirections * ? " < > |, without
// bytes below 32, not ending in a dot or a space (the file system would strip them and write
// another name), not a device name (CON, PRN, AUX, NUL, COM1 to COM9 and COM with a superscript
// 1, 2 or 3, the same for LPT, in any letter case, with or without an extension), and folder
// + name shorter than MaxPathChars characters. The trail byte of a double-byte character is no
// separator, so isLeadByte must describe the code page the name is written in.
bool IsSafeFileName(std::string_view name, std::string_view folder, TLeadByteTest isLeadByte);

// True when a key of cache.ini is safe as a name on its own and as its payload's file name, key +
// ".uxx", in cacheFolder.
bool IsSafeCacheKey(std::string_view key, std::string_view cacheFolder, TLeadByteTest isLeadByte);
