#pragma once
// The commands about what the ticked packages need: "Select Needed Packages" in the list's
// context menu, and the question before an integration run. A map integrated without the cached
// textures, meshes or code it uses does not load once the server is gone.
#include <string>

#include "job/job_seams.h"

struct TAppliedPrefs;
class TCacheIndex;

// Ticks the cached packages that the ticked rows need, directly or through other cached packages,
// and that are neither ticked nor installed (payloads that are no packages need nothing); returns
// the status line's text, which says how many it ticked.
std::string SelectNeededPackages(IPackageRows& rows, const TCacheIndex& index, const TAppliedPrefs& prefs);

// Before a run: when the ticked packages need such packages, one box lists them and asks whether
// to tick them too. Yes ticks them, No (or Esc) leaves the ticks; false when the box was closed by
// its close box, which cancels the run.
bool OfferNeededPackages(IPackageRows& rows, IMessageBoxes& boxes, const TCacheIndex& index,
                         const TAppliedPrefs& prefs);
