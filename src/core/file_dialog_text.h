#pragma once
// The texts a file-open dialog takes and gives back.
#include <string>
#include <vector>

// The dialog's filter: "description|pattern|..." as pairs of zero-terminated texts, the list
// ended by an empty one.
std::string OpenDialogFilter(const std::string& filter);

// The full paths a dialog that allows several files gives in buffer: one full path when one file
// is chosen, else the folder followed by each file's name, every text ended by a zero and the list
// by an empty one.
std::vector<std::string> ChosenFiles(const char* buffer);
