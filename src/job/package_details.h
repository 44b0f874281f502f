#pragma once
// The details of one cached package, as the details dialog shows them: its real name, cache key
// and size, and what its header says (version, GUID against the key, generations, the packages it
// needs and where each of them is).
#include <string>

struct TAppliedPrefs;
class TCacheIndex;

// The lines of the details of the package of the first entry line naming realName, joined with
// CR LF; empty when no entry line names it.
std::string PackageDetailsText(const TCacheIndex& index, const TAppliedPrefs& prefs, const std::string& realName);
