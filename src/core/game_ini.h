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

// The cache folder cachePath names, with systemFolder (the game's System folder, absolute) for
// the folder it is relative to: an absolute path ("C:\x", "D:/x", "\\server\share\x") stands as
// it is; one led by a single separator is rooted on systemFolder's drive; any other is joined to
// systemFolder. '/' becomes '\', empty and "." segments go, ".." takes back a folder but never
// the root, and the result ends in '\'. Nothing when either path holds a control byte, cachePath
// is empty or relative to a drive's current folder ("D:x"), or systemFolder is needed and not
// absolute. Text only: the folder need not exist.
std::optional<std::string> ResolveCacheFolder(std::string_view cachePath, std::string_view systemFolder,
                                              TLeadByteTest isLeadByte);
