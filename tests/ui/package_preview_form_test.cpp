// What packages hold, through the real windows: the details of a map and of a texture package, and
// the preview pane turned on, following the selection and kept.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "core/main_window_layout.h"
#include "core/memory_prefs_store.h"
#include "core/object_package_writer.h"
#include "core/preview_setting.h"
#include "job/main_job_fixture.h"
#include "ui/package_details_dialog.h"
#include "ui/pn_mainform.h"
#include "ui/preview_texts.h"
#include "ui/resource.h"
#include "ui/window_driver.h"
#include "win/application.h"
#include "win/file_streams.h"

namespace {

// A screenshot of 512 by 256 in one-colour blocks: sky, sun and hills.
std::string Landscape() {
  std::string blocks;
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 128; ++x) {
      const bool sun = std::hypot(x - 96, y - 14) < 8, ground = y >= 36 + 6 * std::sin(x / 10.0);
      const int colour = sun ? 0xFEEB : ground ? (60 + y) >> 3 << 11 | (150 - y) >> 2 << 5 | 6
                                               : (80 + y) >> 3 << 11 | (130 + 2 * y) >> 2 << 5 | 28;
      blocks += Bytes({colour, colour >> 8, colour, colour >> 8, 0, 0, 0, 0});
    }
  return blocks;
}

// Rings, stripes and tiles of 64 by 64, every fourth a glow whose alpha fades outwards, and a
// texture of a form that is not shown.
void AddTextures(TObjectPackageWriter& package) {
  const char* names[] = {"Rings", "Stripes", "Tiles", "Glow", "Grass", "Rust", "Water", "Marble", "Lava", "Ice"};
  for (int i = 0; i < 20; ++i) {
    std::string pixels;  // B, G, R, A
    for (int y = 0; y < 64; ++y)
      for (int x = 0; x < 64; ++x) {
        const int ring = int(std::hypot(x - 32, y - 32) * 8);
        const int shade = i % 2 ? x * 4 : i % 4 ? (x / 8 + y / 8) % 2 * 160 : ring;
        const int alpha = i % 4 == 3 ? 255 - ring % 256 : 255;
        pixels += Bytes({shade + 40 * i, 200 - shade / 2 + 25 * i, 3 * shade + 70 * i, alpha});
      }
    package.Texture(names[i % 10] + std::to_string(i / 10 + 1),
                    TPropertyWriter(package).Byte("Format", 5).Bool("bAlphaTexture", i % 4 == 3), {{64, 64, pixels}});
  }
  package.Texture("Heights", TPropertyWriter(package).Byte("Format", 10), {{64, 64, std::string(8192, '\0')}});
}

// For the documentation, into the folder PELLORIN_SCREENSHOT_DIR names.
void Shoot(HWND window, const char* name) {
  if (const char* folder = std::getenv("PELLORIN_SCREENSHOT_DIR"))
    SaveScreenshot(window, (std::string(folder) + "/" + name).c_str());
}

class PackagePreviewForm : public ::testing::Test {
protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&classes);
    TObjectPackageWriter map, textures;
    map.MapSummary("Shadow Temple", "A temple in the hills.", {512, 256, Landscape()});
    AddTextures(textures);
    std::string index = Header + "\n";
    uint32_t n = 0;
    for (auto [name, package] : {std::pair{"DM-Shadow.ut2", &map}, {"ShadowTex.utx", &textures}}) {
      package->guid[0] = ++n;  // the key of each payload is its package's GUID
      const std::string key = GuidKeyText(package->guid) + "-1";
      WriteFileBytes(game.Prefs.CachePath + key + ".uxx", package->Build());
      index += key + "=" + name + "\n";
    }
    WriteFileBytes(game.Index(), index);
  }
  std::unique_ptr<TMainForm> OpenForm() {
    auto form = std::make_unique<TMainForm>(
        ::GetModuleHandleA(nullptr),
        TMainFormServices{[this]() -> const TAppliedPrefs& { return game.Prefs; }, [](HWND) {}, &boxes, &settings});
    form->Show(SW_SHOWNORMAL);
    form->tbOpenCacheClick();
    return form;
  }
  static void Select(TMainForm& form, int row) {
    ListView_SetItemState(form.ListHandle(), row, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
  }
  TGameFolder game;
  TFakeMainView boxes;
  TMemoryPrefsStore settings;
};

// Details of the map hold its summary and screenshot, of the textures the grid of thumbnails.
TEST_F(PackagePreviewForm, DetailsShowWhatTheMapAndTheTexturesHold) {
  const auto form = OpenForm();
  const std::string texts[] = {"Title: Shadow Temple\r\nAuthor: Krow\r\nPlayers: 6-10\r\nDescription: A temple in the "
                               "hills.\r\n\r\nPackage: DM-Shadow.ut2\r\n",
                               "Package: ShadowTex.utx\r\n"};
  for (int row = 0; row < 2; ++row) {
    Select(*form, row);
    std::string text;
    HWND shown = nullptr;  // the screenshot, or the thumbnails
    COLORREF middle = 0;
    TDialogDriver driver([&](HWND dialog) {
      text = WindowText(::GetDlgItem(dialog, IDC_DETAILS_TEXT));
      shown = row == 0 ? ::GetDlgItem(dialog, IDC_DETAILS_PICTURE)
                       : ::FindWindowExA(dialog, nullptr, PreviewTexts::ThumbnailGridClass, nullptr);
      ::UpdateWindow(dialog);
      HDC dc = ::GetDC(shown);
      middle = ::GetPixel(dc, 257, 129);
      ::ReleaseDC(shown, dc);
      Shoot(dialog, row == 0 ? "details-map.bmp" : "details-textures.bmp");
      PressKey(dialog, VK_ESCAPE);
    });
    form->lvCacheItemsDblClick();  // as a double click on the selected row
    EXPECT_EQ(text.substr(0, texts[row].size()), texts[row]);
    ASSERT_NE(shown, nullptr) << row;
    if (row == 1) continue;
    const TPackageContents read =
        ReadPreview(*PreviewRequestOf(form->Commands().OpenedCache().Index, "DM-Shadow.ut2"), DetailsContentsLimits);
    const uint32_t pixel = read.screenshot.picture.pixels.at(128 * 512 + 256);
    EXPECT_EQ(middle, RGB(pixel >> 16 & 0xFF, pixel >> 8 & 0xFF, pixel & 0xFF));
  }
}

// Handles messages as they come until done: the reading thread posts the pane its end.
void HandleMessagesUntil(const std::function<bool()>& done) {
  while (!done()) {
    ::WaitMessage();
    Application.ProcessMessages();
  }
}

TEST_F(PackagePreviewForm, ThePaneFollowsTheSelectionIsKeptAndNeverHoldsUpARun) {
  auto form = OpenForm();
  RECT before{}, after{};
  ::GetWindowRect(form->Handle(), &before);
  EXPECT_EQ(form->PreviewPane(), nullptr);
  ::SendMessageA(form->Handle(), WM_COMMAND, IDM_PREVIEWPANE1, 0);
  ::GetWindowRect(form->Handle(), &after);
  ASSERT_NE(form->PreviewPane(), nullptr);
  EXPECT_EQ(after.right - after.left, before.right - before.left + PreviewPaneWidth);
  EXPECT_EQ(::GetMenuState(::GetMenu(form->Handle()), IDM_PREVIEWPANE1, MF_BYCOMMAND) & MF_CHECKED, UINT{MF_CHECKED});
  EXPECT_TRUE(LoadPreviewPaneShown(settings));

  // Each selection before the last is overtaken: only the last one's reading is shown.
  Select(*form, 1);
  Select(*form, 0);
  TPreviewPane& pane = *form->PreviewPane();
  HandleMessagesUntil([&] { return pane.Contents().has_value(); });
  EXPECT_EQ(pane.Request()->realName, "DM-Shadow.ut2");
  EXPECT_EQ(pane.Contents()->lines.at(0), "Title: Shadow Temple");
  EXPECT_EQ(pane.Contents()->screenshot.picture.width, 256);
  Shoot(form->Handle(), "preview-pane.bmp");

  // A payload the pane has open is integrated all the same: it is shared with deletion.
  const TPreviewRequest map = *PreviewRequestOf(form->Commands().OpenedCache().Index, "DM-Shadow.ut2");
  {
    TFileSource reading(map.payloadPath, "", TFileSharing::ReadersAndDeletion);
    ASSERT_TRUE(reading.Opened());
    form->SetRowTicked(0, true);
    form->tbCopySelectedClick();
  }
  EXPECT_TRUE(FileExists(game.Prefs.MapPath + "DM-Shadow.ut2"));
  EXPECT_FALSE(FileExists(map.payloadPath));
  EXPECT_EQ(form->RowCount(), 1);
  EXPECT_FALSE(form->PreviewPane()->Request());  // the list was rebuilt: nothing is selected

  form.reset();
  form = OpenForm();  // made again: the pane is on, as it was left
  ASSERT_NE(form->PreviewPane(), nullptr);
  ::SendMessageA(form->Handle(), WM_COMMAND, IDM_PREVIEWPANE1, 0);
  EXPECT_EQ(form->PreviewPane(), nullptr);
  EXPECT_FALSE(LoadPreviewPaneShown(settings));
}

}  // namespace
