#pragma once
// The commands about what the ticked packages need: "Select Needed Packages" in the list's
// context menu, and the question before an integration run. A map integrated without the cached
// textures, meshes or code it uses does not load once the server is gone.
#include <string>
#include <vector>

#include "job/job_seams.h"

struct TAppliedPrefs;
class TCacheIndex;

// A cached package that ticked packages need, and the row that lists it.
struct TNeededRow {
  int row = 0;
  std::string realName;
  std::string neededBy;  // the package, by name without extension, through which it was reached
  bool operator==(const TNeededRow&) const = default;
};

// The rows of the cached packages that the ticked rows need, directly or through other cached
// packages, and that are neither ticked nor installed, in the order they were reached. Payloads
// that are no packages need nothing.
std::vector<TNeededRow> FindNeededRows(const IPackageRows& rows, const TCacheIndex& index, const TAppliedPrefs& prefs);

// Ticks them; returns the status line's text, which says how many it ticked.
std::string SelectNeededPackages(IPackageRows& rows, const TCacheIndex& index, const TAppliedPrefs& prefs);

// Before a run: when the ticked packages need some, one box lists them and asks whether to tick
// them too. Yes ticks them, No (or Esc) leaves the ticks; false when the box was closed by its
// close box, which cancels the run.
bool OfferNeededPackages(IPackageRows& rows, IMessageBoxes& boxes, const TCacheIndex& index,
                         const TAppliedPrefs& prefs);
