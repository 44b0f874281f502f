#pragma once
// The game's settings file, System\UT2004.ini: where it keeps its download cache.
#include <optional>
#include <string>
#include <string_view>

#include "core/text_rules.h"

// The value of CachePath in the section [Core.System], trimmed of blanks, as written (the game's
// own value is "../Cache"); nothing when no such section holds the key. Section and key names are
// compared ignoring a..z case and the first occurrence counts; lines end in CR LF or LF, and a
// line whose first non-blank byte is ';' is a comment (a ';' later in a line belongs to it).
std::optional<std::string> ReadGameCachePath(std::string_view iniText);

// The game deletes every cached package older than [Core.System] PurgeCacheDays days when it
// starts; 0 keeps them for ever, and a file without the value purges after the game's default.
inline constexpr int GamePurgeDaysDefault = 30;

// The value of PurgeCacheDays as the game reads it: in the first section [Core.System] (section
// names compared ignoring a..z case), the first line whose text before its first '=' is the key
// (ignoring a..z case, not trimmed), its value read as a number as the game reads one (leading
// blanks and a sign, then digits; none gives 0). Nothing when no such line is there.
std::optional<int> ReadPurgeCacheDays(std::string_view iniText);

// iniText with PurgeCacheDays set to days and nothing else changed: the value of the line
// ReadPurgeCacheDays reads replaced in place, or else a line added after the last line of the
// first [Core.System] section that holds anything (a section added at the end when there is
// none), with the file's own line end (that of its first line; CR LF in a file of one line).
std::string WithPurgeCacheDays(std::string_view iniText, int days);

// The cache folder cachePath names, with systemFolder (the game's System folder, absolute) for
// the folder it is relative to: an absolute path ("C:\x", "D:/x", "\\server\share\x") stands as
// it is; one led by a single separator is rooted on systemFolder's drive; any other is joined to
// systemFolder. '/' becomes '\', empty and "." segments go, ".." takes back a folder but never
// the root, and the result ends in '\'. Nothing when either path holds a control byte, cachePath
// is empty or relative to a drive's current folder ("D:x"), or systemFolder is needed and not
// absolute. Text only: the folder need not exist.
std::optional<std::string> ResolveCacheFolder(std::string_view cachePath, std::string_view systemFolder,
                                              TLeadByteTest isLeadByte);
