#pragma once
// Ticking rows by what they hold, for the list's context menu.
#include "job/job_seams.h"

// "Select All of This Type": ticks every row whose package is of the kind of the package in row
// (every map, whatever its game mode; every texture; ...); ticked rows stay ticked. A row of
// unknown kind, or no row, ticks nothing: the integration passes such packages over, so
// gathering them would only make a run that integrates nothing.
void SelectAllOfKind(IPackageRows& rows, int row);
