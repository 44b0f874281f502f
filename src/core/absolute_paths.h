#pragma once
// Whole paths read from other programs' files (the store client's library list, the game's ini):
// where they are rooted, and whether one may stand as a folder at all.
#include <optional>
#include <string>
#include <string_view>

#include "core/text_rules.h"

struct TPathRoot {
  size_t Length = 0;  // bytes of the path the root takes, its separator included when there is one
  std::string Text;   // "X:\" or "\\server\share\", with '\' for every separator
};

// The root of an absolute path, '/' standing for '\': a drive letter, ':' and a separator, or two
// separators, a server and a share. Nothing for any other path: relative, rooted on the current
// drive ("\x"), relative to a drive's current folder ("X:x"), a network path without a share, and
// the device and long-path namespaces ("\\.\", "\\?\"), which the ANSI functions do not take.
std::optional<TPathRoot> AbsolutePathRoot(std::string_view path, TLeadByteTest isLeadByte);

// True when s holds a byte below 32.
bool HasControlBytes(std::string_view s);

// True when path has a root (AbsolutePathRoot) and no byte below 32.
bool IsAbsolutePathWithoutControlBytes(std::string_view path, TLeadByteTest isLeadByte);
