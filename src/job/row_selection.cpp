#include "job/row_selection.h"

#include "win/files.h"

void SelectAllOfKind(IPackageRows& rows, int row) {
  const int rowCount = rows.RowCount();
  if (row < 0 || row >= rowCount) return;
  const TPackageKind kind = GetPackageKind(rows.RowCaption(row));
  if (kind == pkOther) return;
  for (int each = 0; each < rowCount; ++each)
    if (GetPackageKind(rows.RowCaption(each)) == kind) rows.SetRowTicked(each, true);
}
