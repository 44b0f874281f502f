// The main window's commands about what cached packages need: "Select Needed Packages" and the
// details of a package, from the context menu, a double click or Enter on a row.
#include "ui/pn_mainform.h"

#include <commctrl.h>

#include "ui/package_details_dialog.h"

void TMainForm::SelectNeeded1Click() { commands_.SelectNeeded1Click(); }

void TMainForm::Details1Click() { ShowDetails(popupRow_); }

void TMainForm::lvCacheItemsDblClick() { ShowDetails(NextRowWith(LVNI_SELECTED)); }

void TMainForm::ShowDetails(int row) {
  if (const std::optional<std::string> text = commands_.Details1Click(row)) {
    const std::optional<TPreviewRequest> request = PreviewRequestOf(commands_.OpenedCache().Index, RowCaption(row));
    TPackageDetailsDialog(*text, request ? ReadPreview(*request, DetailsContentsLimits) : TPackageContents{})
        .ShowModal(instance_, Handle());
  }
}
