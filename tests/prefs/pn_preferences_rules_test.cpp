#include <gtest/gtest.h>

#include "prefs/prefs_dialog_layout.h"
#include "prefs/prefs_model.h"
#include "ui/resource_ids.h"

namespace {

struct TPathCase {
  const char* Picked;
  const char* EditText;
};

class FolderTextCases : public testing::TestWithParam<TPathCase> {};

TEST_P(FolderTextCases, FinalBackslashOnlyForADriveRoot) {
  EXPECT_EQ(FolderTextFromPath(GetParam().Picked), GetParam().EditText);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, FolderTextCases,
    testing::Values(TPathCase{"D:\\", "D:\\"}, TPathCase{"C:\\Games\\UT2004", "C:\\Games\\UT2004"},
                    TPathCase{"C:\\Games\\UT2004\\", "C:\\Games\\UT2004"},
                    TPathCase{"\\\\server\\share\\", "\\\\server\\share"}, TPathCase{"", ""},
                    TPathCase{"D:\\Maps\\\\", "D:\\Maps"}));

bool Inside(const TPixelRect& inner, const TPixelRect& outer) {
  return inner.Left >= outer.Left && inner.Top >= outer.Top && inner.Right() <= outer.Right() &&
         inner.Bottom() <= outer.Bottom();
}

TPixelRect PlaceOf(int id) {
  for (const TControlPlace& place : PrefsControlPlaces())
    if (place.Id == id) return place.Rect;
  ADD_FAILURE() << "no place for control " << id;
  return {};
}

// Each row's label, edit and folder button lie inside the "Paths" panel below its heading, the
// button inside its edit, and the rows do not overlap.
TEST(PrefsLayout, RowsFitTheirPanelAndButtonsTheirEdits) {
  const TPixelRect belowHeading{PathsPanelRect.Left, PathsPanelRect.Top + PanelHeadingHeight + 1,
                                PathsPanelRect.Width, PathsPanelRect.Height - PanelHeadingHeight - 1};
  for (int row = 0; row < static_cast<int>(FolderPrefCount); ++row) {
    SCOPED_TRACE(row);
    const TPixelRect edit = PlaceOf(IDC_PREFS_EDIT_FIRST + row);
    EXPECT_TRUE(Inside(PlaceOf(IDC_PREFS_LABEL_FIRST + row), belowHeading));
    EXPECT_TRUE(Inside(edit, belowHeading));
    EXPECT_TRUE(Inside(PlaceOf(IDC_PREFS_BROWSE_FIRST + row), edit));
    EXPECT_LT(PlaceOf(IDC_PREFS_LABEL_FIRST + row).Right(), edit.Left);
    if (row > 0) {
      EXPECT_GE(edit.Top, PlaceOf(IDC_PREFS_EDIT_FIRST + row - 1).Bottom());
    }
  }
  for (int id : {IDC_CBREGMUTS, IDC_CBPROMPTMUTS}) EXPECT_TRUE(Inside(PlaceOf(id), OptionsPanelRect)) << id;
  const TPixelRect client{0, 0, PrefsClientSize.Width, PrefsClientSize.Height};
  for (int id : {IDC_TBQUICKPATH, IDC_TBSAVE, IDC_TBCANCEL}) {
    EXPECT_TRUE(Inside(PlaceOf(id), client)) << id;
    EXPECT_GE(PlaceOf(id).Top, OptionsPanelRect.Bottom()) << id;
  }
  EXPECT_LE(PlaceOf(IDC_TBSAVE).Right(), PlaceOf(IDC_TBCANCEL).Left);
}

// At any size the buttons stay above the tree, the status line and OK/Cancel below it, and
// nothing gets a negative size when the picker is made very small.
TEST(FolderPickerLayout, KeepsItsOrderAtEverySize) {
  for (TPixelSize client : {TPixelSize{420, 400}, TPixelSize{900, 700}, TPixelSize{60, 40}}) {
    SCOPED_TRACE(client.Width);
    const TPickerLayout layout = LayOutFolderPicker(client);
    EXPECT_LE(layout.CreateFolder.Bottom(), layout.Tree.Top);
    EXPECT_EQ(layout.Delete.Top, layout.CreateFolder.Top);
    EXPECT_GE(layout.Delete.Left, layout.CreateFolder.Right());
    EXPECT_GE(layout.Tree.Width, 0);
    EXPECT_GE(layout.Tree.Height, 0);
    EXPECT_GE(layout.Status.Width, 0);
    EXPECT_LE(layout.Ok.Right(), layout.Cancel.Left);
    EXPECT_EQ(layout.Cancel.Bottom() + 9, client.Height) << "OK and Cancel stay at the bottom";
    EXPECT_EQ(layout.Cancel.Right() + 9, client.Width) << "and at the right";
    if (client.Height > 200) {
      EXPECT_LE(layout.Tree.Bottom(), layout.Status.Top);
      EXPECT_LE(layout.Status.Bottom(), layout.Ok.Top);
    }
  }
}

}  // namespace
