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

}  // namespace
