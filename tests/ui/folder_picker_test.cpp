// The real folder picker, driven from inside its modal loop: what OK returns for file-system,
// drive-root and virtual folders, where the next opening starts, the size it keeps, its buttons.
#include "ui/folder_picker.h"

#include <gtest/gtest.h>

#include <functional>

#include "core/prefs_dialog_layout.h"
#include "support/test_files.h"
#include "ui/window_driver.h"

namespace {

constexpr int DeleteButtonId = 0x5E01;
constexpr int StatusLineId = 0x5E02;
constexpr int CreateFolderId = 14150;

struct PickerTest : testing::Test {
  static void SetUpTestSuite() { ::OleInitialize(nullptr); }
  static void TearDownTestSuite() { ::OleUninitialize(); }
  TShellFolderPicker picker;

  // Opens the picker and runs action on it once it is up.
  std::optional<std::string> Pick(std::function<void(HWND)> action) {
    TDialogDriver driver(std::move(action));
    auto result = picker.PickFolder(nullptr);
    EXPECT_TRUE(driver.Acted());
    return result;
  }
};

void SelectPath(HWND picker, const std::string& path) {
  ::SendMessageA(picker, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(path.c_str()));
}

// Selects path and hands on once the status line shows it. A folder created just before (as the
// delete test does) can make the shell refresh its tree and move the selection a little later;
// the selection is then made again, a bounded number of times.
void SelectSettled(HWND picker, const std::string& path, std::function<void(bool)> then, int tries = 50) {
  SelectPath(picker, path);
  RunWhenIdle([=] {
    const bool shown = WindowText(::GetDlgItem(picker, StatusLineId)) == FolderTextFromPath(path);
    if (shown || tries == 0) return then(shown);
    SelectSettled(picker, path, then, tries - 1);
  });
}

void Accept(HWND picker) { ::PostMessageA(picker, WM_COMMAND, IDOK, 0); }

RECT PlaceIn(HWND picker, int id) {
  RECT rect{};
  ::GetWindowRect(::GetDlgItem(picker, id), &rect);
  ::MapWindowPoints(nullptr, picker, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

// The folders used here exist before the test starts, so the shell has no reason to refresh its
// tree meanwhile.
TEST_F(PickerTest, OkGivesTheEditTextOfTheSelectedFolder) {
  struct TCase {
    std::string Selected;
    std::string Expected;
  } cases[] = {{"C:\\windows\\system32\\", "C:\\windows\\system32"}, {"C:\\", "C:\\"}};
  for (const TCase& c : cases) {
    std::string status;
    const auto text = Pick([&](HWND dialog) {
      SelectPath(dialog, c.Selected);
      status = WindowText(::GetDlgItem(dialog, StatusLineId));
      Accept(dialog);
    });
    EXPECT_EQ(text, c.Expected);
    EXPECT_EQ(status, c.Expected) << "the status line shows the selected path";
  }
}

TEST_F(PickerTest, VirtualFolderGivesAnEmptyText) {
  ITEMIDLIST* computer = nullptr;
  ASSERT_EQ(::SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &computer), S_OK);
  const auto text = Pick([&](HWND dialog) {
    ::SendMessageA(dialog, BFFM_SETSELECTIONA, FALSE, reinterpret_cast<LPARAM>(computer));
    Accept(dialog);
  });
  ::CoTaskMemFree(computer);
  EXPECT_EQ(text, "");
}

TEST_F(PickerTest, CancelAndCloseBoxChangeNothingAndTheNextOpeningStartsAtTheLastAccepted) {
  const std::string accepted = "C:\\windows\\system32";
  EXPECT_EQ(Pick([&](HWND dialog) {
              SelectPath(dialog, accepted);
              Accept(dialog);
            }),
            accepted);
  struct TWayOut {
    UINT Message;
    WPARAM Param;
  } waysOut[] = {{WM_COMMAND, IDCANCEL}, {WM_CLOSE, 0}};
  for (const TWayOut& way : waysOut) {
    std::string startedAt;
    const auto text = Pick([&](HWND dialog) {
      startedAt = WindowText(::GetDlgItem(dialog, StatusLineId));
      SelectPath(dialog, "C:\\windows");
      ::PostMessageA(dialog, way.Message, way.Param, 0);
    });
    EXPECT_EQ(text, std::nullopt);
    EXPECT_EQ(startedAt, accepted) << "a cancelled opening does not move the start";
  }
}

TEST_F(PickerTest, TitleButtonsAboveTheTreeAndTheSizeIsKept) {
  RECT resized{};
  Pick([&](HWND dialog) {
    EXPECT_EQ(WindowText(dialog), "Browse for Folder");
    EXPECT_TRUE(::GetWindowLongA(dialog, GWL_STYLE) & WS_THICKFRAME) << "resizable";
    EXPECT_EQ(WindowText(::GetDlgItem(dialog, CreateFolderId)), "Create Folder");
    EXPECT_EQ(WindowText(::GetDlgItem(dialog, DeleteButtonId)), "Delete");
    ::SetWindowPos(dialog, nullptr, 0, 0, 500, 480, SWP_NOMOVE | SWP_NOZORDER);
    const RECT tree = PlaceIn(dialog, 14145);
    EXPECT_LT(PlaceIn(dialog, CreateFolderId).bottom, tree.top);
    EXPECT_LT(PlaceIn(dialog, DeleteButtonId).bottom, tree.top);
    EXPECT_GT(PlaceIn(dialog, IDOK).top, tree.bottom);
    RECT client;
    ::GetClientRect(dialog, &client);
    EXPECT_LE(PlaceIn(dialog, IDCANCEL).right, client.right);
    ::GetWindowRect(dialog, &resized);
    ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  });
  RECT reopened{};
  Pick([&](HWND dialog) {
    ::GetWindowRect(dialog, &reopened);
    ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  });
  EXPECT_EQ(reopened.right - reopened.left, resized.right - resized.left);
  EXPECT_EQ(reopened.bottom - reopened.top, resized.bottom - resized.top);
}

TEST_F(PickerTest, DeleteRemovesTheSelectedFolderAfterTheShellsQuestion) {
  TTempFolder temp;
  const std::string doomed = temp.Sub("Doomed", true);
  std::string statusAfter;
  bool selected = false;
  Pick([&](HWND dialog) {
    SelectSettled(dialog, doomed, [&, dialog](bool shown) {
      selected = shown;
      if (shown) {  // never press Delete on anything but the folder made for it
        TDialogDriver confirm([](HWND question) { PressKey(question, VK_RETURN); });
        ::SendMessageA(dialog, WM_COMMAND, DeleteButtonId, 0);
        statusAfter = WindowText(::GetDlgItem(dialog, StatusLineId));
      }
      ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
  });
  ASSERT_TRUE(selected);
  EXPECT_EQ(::GetFileAttributesA(doomed.c_str()), INVALID_FILE_ATTRIBUTES);
  // The parent is selected, or (while the shell refreshes its tree) nothing.
  EXPECT_TRUE(statusAfter + "\\" == temp.Path() || statusAfter.empty()) << statusAfter;
}

}  // namespace
