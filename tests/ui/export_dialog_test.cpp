// The export dialog, driven from inside its modal loop: the folder from the picker or typed, the
// form, the last choice kept for the next opening, Cancel.
#include "ui/export_dialog.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "ui/resource.h"
#include "ui/window_driver.h"

namespace {

struct TPickedFolder : IFolderPicker {
  std::optional<std::string> Folder;
  std::optional<std::string> PickFolder(HWND) override { return Folder; }
};

void Click(HWND dialog, int id) { ::SendMessageA(::GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

TEST(ExportDialog, GivesTheFolderAndFormChosenAndKeepsThemForTheNextOpening) {
  TPickedFolder picker;
  TExportDialog dialog(picker);
  picker.Folder = "C:\\Exports";
  std::optional<TExportChoice> chosen;
  {
    TDialogDriver driver([&](HWND window) {
      EXPECT_EQ(WindowText(window), "Export selected");
      EXPECT_EQ(::IsDlgButtonChecked(window, IDC_EXPORT_LAYOUT), BST_CHECKED);
      Click(window, IDOK);
      EXPECT_TRUE(::IsWindow(window)) << "no folder yet";
      Click(window, IDC_EXPORT_BROWSE);
      Click(window, IDC_EXPORT_UZ2);
      if (const char* path = std::getenv("PELLORIN_SCREENSHOT_BMP")) SaveScreenshot(window, path);
      Click(window, IDOK);
    });
    chosen = dialog.ChooseExport();
    EXPECT_TRUE(driver.Acted());
  }
  EXPECT_EQ(chosen, (TExportChoice{TExportForm::RedirectUz2, "C:\\Exports"}));

  TDialogDriver driver([&](HWND window) {
    EXPECT_EQ(WindowText(::GetDlgItem(window, IDC_EXPORT_FOLDER)), "C:\\Exports");
    EXPECT_EQ(::IsDlgButtonChecked(window, IDC_EXPORT_UZ2), BST_CHECKED);
    ::SetDlgItemTextA(window, IDC_EXPORT_FOLDER, "D:\\Typed");
    Click(window, IDC_EXPORT_ZIP);
    Click(window, IDCANCEL);
  });
  EXPECT_EQ(dialog.ChooseExport(), std::nullopt);
  EXPECT_TRUE(driver.Acted());
}

}  // namespace
