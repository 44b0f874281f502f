#pragma once
// Which versions stand at a target in the game's folders and come with a file for it: read from
// the packages' headers (the GUID and the size), or from their bytes where either is no package.
#include <string>

#include "job/transfer_plan.h"

class TFolderListings;

// True when the file at item's target is the version item brings; versions says what each is
// (the installed one as unread when it cannot be opened, which is never the same). Raises the
// group's error, headed by the chosen file's name, when packed bytes prove faulty. The files' sizes
// are taken from the folder listings just read, so that each file is only opened for its header.
bool IsSameVersion(const TTransferGroup& group, const TTransferItem& item, TFolderListings& listings,
                   TVersionConflict& versions);

// Where the installed file at target goes when another version replaces it: a folder "Replaced"
// beside it, which the game does not look into, and in it a folder named after the installed
// version's GUID, so that several replaced versions of one name stand side by side and each can be
// restored by copying it back. Makes the folders; empty when they cannot be made.
std::string KeptPlaceOf(const std::string& target, const TVersionConflict& versions);
