#pragma once
// The integration run: every ticked row's cached payload is copied into the game folder of its
// kind under its real file name, the payload deleted and its index line dropped; the index is
// then saved, reloaded and the rows rebuilt.
#include "job/transfer_run.h"

// Runs the walk over the ticked rows, in the order shown. A row whose real file name or key is no
// safe file name (see IsSafeFileName) is passed over like a package of unknown kind: nothing is
// read, written or deleted for it and the game's tool never sees it. Before anything is written
// the plan looks at every target: of two rows for one file (letter case ignored) the first goes;
// empty payloads and the game's own code packages are passed over; a package installed in the same
// version leaves the cache without being copied; the user is asked once whether other installed
// versions may be replaced (each replaced one is kept aside), and the close box of that question
// cancels the run. Whatever ends the walk, an error included, the lines of the packages integrated
// so far are dropped from the index file before it returns or the error leaves, so every ticked
// package is either in its game folder and gone from the index, or still in the cache, in the
// index and on screen. The index file is rewritten only when a line changed; the payloads of the
// packages integrated are deleted once it has been, so a save that fails leaves them in the cache.
void IntegrateSelected(TTransferContext& context);
