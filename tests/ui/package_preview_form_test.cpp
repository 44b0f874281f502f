// What packages hold, through the real windows: the details of a map, a texture package and a
// mesh package, and the preview pane turned on, following the selection and kept.
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
      const int red = sun ? 250 : ground ? 60 + y : 80 + y, green = sun ? 220 : ground ? 150 - y : 130 + 2 * y;
      const int blue = sun ? 90 : ground ? 50 : 230;
      const auto colour = static_cast<uint16_t>((red >> 3) << 11 | (green >> 2) << 5 | blue >> 3);
      blocks += Bytes({colour & 0xFF, colour >> 8, colour & 0xFF, colour >> 8, 0, 0, 0, 0});
    }
  return blocks;
}

std::string Map() {
  TObjectPackageWriter map;
  map.guid[0] = 1;
  const int32_t shot = map.Texture("Shot", TPropertyWriter(map).Byte("Format", 3), {{512, 256, Landscape()}});
  TPropertyWriter item(map);
  item.Object("Material", shot);
  const int32_t sequence =
      map.Export("MaterialSequence", "Shots", TPropertyWriter(map).StructArray("SequenceItems", {item.Text()}).Text());
  TPropertyWriter summary(map);
  summary.Str("Title", "Shadow Temple").Str("Author", "Krow").Int("IdealPlayerCountMin", 6);
  summary.Int("IdealPlayerCountMax", 10).Str("Description", "A temple in the hills.").Object("Screenshot", sequence);
  map.Export("LevelSummary", "LevelSummary", summary.Text(), 0x00070004);
  return map.Build();
}

std::string Textures() {
  TObjectPackageWriter package;
  package.guid[0] = 2;
  const char* names[] = {"Rings", "Stripes", "Tiles", "Glow", "Grass", "Rust", "Water", "Marble", "Lava", "Ice"};
  for (int i = 0; i < 20; ++i) {
    std::string pixels;  // B, G, R, A
    for (int y = 0; y < 64; ++y)
      for (int x = 0; x < 64; ++x) {
        const int shade = i % 4 == 0   ? int(std::hypot(x - 32, y - 32) * 8)
                          : i % 4 == 1 ? x * 4
                                       : (x / 8 + y / 8) % 2 * 160;
        pixels += Bytes({(shade + 40 * i) & 0xFF, (200 - shade / 2 + 25 * i) & 0xFF, (shade * 3 + 70 * i) & 0xFF,
                         i % 4 == 3 ? 255 - int(std::hypot(x - 32, y - 32) * 8) % 256 : 255});
      }
    package.Texture(names[i % 10] + std::to_string(i / 10 + 1),
                    TPropertyWriter(package).Byte("Format", 5).Bool("bAlphaTexture", i % 4 == 3), {{64, 64, pixels}});
  }
  package.Texture("Heights", TPropertyWriter(package).Byte("Format", 10), {{64, 64, std::string(8192, '\0')}});
  return package.Build();
}

std::string Meshes() {
  TObjectPackageWriter package;
  package.guid[0] = 3;
  for (const char* name : {"Crate", "Barrel", "Pillar", "Arch"}) package.Export("StaticMesh", name, "");
  for (const char* name : {"Mover", "Light"}) package.Export(0, name, [](uint32_t) { return std::string(); });
  return package.Build();
}

class PackagePreviewForm : public ::testing::Test {
protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&classes);
    std::string index = Header + "\n";
    uint32_t n = 0;
    for (const auto& [name, bytes] : {std::pair{"DM-Shadow.ut2", Map()}, {"ShadowTex.utx", Textures()},
                                      {"ShadowMeshes.usx", Meshes()}}) {
      const std::string key = GuidKeyText({++n, 0x5B7E41C6, 0xA8D2F0B9, 0xE1C4A7D3}) + "-1";  // as each package has it
      WriteFileBytes(game.Prefs.CachePath + key + ".uxx", bytes);
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
    LVITEMA selected{};
    selected.stateMask = selected.state = LVIS_FOCUSED | LVIS_SELECTED;
    ::SendMessageA(form.ListHandle(), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&selected));
  }
public:
  static void Shoot(HWND window, const char* name) {
    if (const char* folder = std::getenv("PELLORIN_SCREENSHOT_DIR"))
      SaveScreenshot(window, (std::string(folder) + "/" + name).c_str());
  }
protected:
  TGameFolder game;
  TFakeMainView boxes;
  TMemoryPrefsStore settings;
};

TEST_F(PackagePreviewForm, DetailsShowWhatTheMapTheTexturesAndTheMeshesHold) {
  const auto form = OpenForm();
  const struct {
    int row;
    std::string text;
    int control;  // the picture or the grid, or 0 for neither
  } cases[] = {
      {0, "Title: Shadow Temple\r\nAuthor: Krow\r\nPlayers: 6-10\r\nDescription: A temple in the hills.\r\n\r\n"
          "Package: DM-Shadow.ut2\r\n", IDC_DETAILS_PICTURE},
      {1, "Package: ShadowTex.utx\r\n", 1},
      {2, "4 static meshes, 2 classes\r\n\r\nPackage: ShadowMeshes.usx\r\n", 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.row);
    Select(*form, c.row);
    std::string text;
    HWND control = nullptr;
    COLORREF middle = 0;
    TDialogDriver driver([&](HWND dialog) {
      text = WindowText(::GetDlgItem(dialog, IDC_DETAILS_TEXT));
      control = c.control == 1 ? ::FindWindowExA(dialog, nullptr, PreviewTexts::ThumbnailGridClass, nullptr)
                               : ::GetDlgItem(dialog, c.control);
      ::UpdateWindow(dialog);
      if (c.control == IDC_DETAILS_PICTURE) {
        HDC dc = ::GetDC(control);
        middle = ::GetPixel(dc, 257, 129);
        ::ReleaseDC(control, dc);
      }
      if (c.row < 2) Shoot(dialog, c.row == 0 ? "details-map.bmp" : "details-textures.bmp");
      PressKey(dialog, VK_ESCAPE);
    });
    ::SendMessageA(form->Handle(), WM_COMMAND, IDM_DETAILS1, 0);
    EXPECT_EQ(text.substr(0, c.text.size()), c.text);
    EXPECT_EQ(control != nullptr, c.control != 0);
    if (c.control != IDC_DETAILS_PICTURE) continue;
    const TPackageContents read =
        ReadPreview(*PreviewRequestOf(form->Commands().CacheIndex, "DM-Shadow.ut2"), DetailsContentsLimits);
    const uint32_t pixel = read.screenshot.picture.pixels.at(128 * 512 + 256);
    EXPECT_EQ(middle, RGB(pixel >> 16 & 0xFF, pixel >> 8 & 0xFF, pixel & 0xFF));
  }
}

// Once every message is handled, twice, so that the screen shows what the window has painted.
void ShootWhenIdle(HWND window, const char* name) {
  for (int turn = 0; turn < 2; ++turn) {
    bool shot = false;
    RunWhenIdle([&] {
      PackagePreviewForm::Shoot(window, name);
      shot = true;
    });
    while (!shot) {
      ::WaitMessage();
      Application.ProcessMessages();
    }
  }
}

// Until the reading thread has posted the pane its end.
void WaitForReading(const TPreviewPane& pane) {
  while (!pane.Contents()) {
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
  Select(*form, 2);
  Select(*form, 0);
  TPreviewPane& pane = *form->PreviewPane();
  WaitForReading(pane);
  EXPECT_EQ(pane.Request()->realName, "DM-Shadow.ut2");
  EXPECT_EQ(pane.Contents()->lines.at(0), "Title: Shadow Temple");
  EXPECT_EQ(pane.Contents()->screenshot.picture.width, 256);
  ShootWhenIdle(form->Handle(), "preview-pane.bmp");

  // A payload the pane has open is integrated all the same: it is shared with deletion.
  const TPreviewRequest map = *PreviewRequestOf(form->Commands().CacheIndex, "DM-Shadow.ut2");
  {
    TFileSource reading(map.payloadPath, "", TFileSharing::ReadersAndDeletion);
    ASSERT_TRUE(reading.Opened());
    form->SetRowTicked(0, true);
    form->tbCopySelectedClick();
  }
  EXPECT_TRUE(FileExists(game.Prefs.MapPath + "DM-Shadow.ut2"));
  EXPECT_FALSE(FileExists(map.payloadPath));
  EXPECT_EQ(form->RowCount(), 2);
  EXPECT_FALSE(form->PreviewPane()->Request());  // the list was rebuilt: nothing is selected

  form.reset();
  form = OpenForm();  // made again: the pane is on, as it was left
  ASSERT_NE(form->PreviewPane(), nullptr);
  ::SendMessageA(form->Handle(), WM_COMMAND, IDM_PREVIEWPANE1, 0);
  EXPECT_EQ(form->PreviewPane(), nullptr);
  EXPECT_FALSE(LoadPreviewPaneShown(settings));
}

}  // namespace
