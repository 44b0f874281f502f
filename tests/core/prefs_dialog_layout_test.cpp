#include <gtest/gtest.h>

#include "core/prefs_dialog_layout.h"

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
