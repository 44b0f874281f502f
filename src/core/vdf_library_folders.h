#pragma once
// The store client's list of its library folders, steamapps\libraryfolders.vdf: text of quoted
// "key" "value" pairs and "key" { ... } blocks, with \\ and \" escapes in quoted strings and //
// comments. The game may lie in any of these folders.
#include <string>
#include <string_view>
#include <vector>

// Every library folder the text names, in the order it names them: the value of every key "path"
// at any depth, and, from the older layout, every value of a numbered key ("1" "D:\\Games")
// directly inside the block "LibraryFolders"; keys are compared ignoring a..z case. The layout
// that numbers folders lists only the extra ones, not the client's own folder. Escaped
// backslashes and quotes come out single; a backslash before anything else stays. Values that
// are not absolute paths or that hold control bytes are passed over. Anything else in the text is
// ignored, and malformed text gives what was read before the fault: a string without its closing
// quote is dropped, a block without its closing brace keeps what it held. The file is UTF-8 and
// comes back as it is; bringing it into the ANSI code page is the caller's work.
std::vector<std::string> ReadLibraryFolderPaths(std::string_view vdfText);
