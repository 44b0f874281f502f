// The main window's list in the order the user chooses, under Wine: header clicks sort and turn
// the order round with the header's arrow, ticks stay with their packages, the integration walks
// the rows as shown and its rebuild keeps the order; the context menu ticks a row's kind.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "core/applied_prefs.h"
#include "support/test_files.h"
#include "ui/pn_mainform.h"
#include "ui/resource.h"
#include "ui/recorded_boxes.h"
#include "ui/window_driver.h"
#include "win/application.h"

namespace {

// Recorded boxes that let the test act while a question holds the run.
class TBoxesDuringRun : public TRecordedBoxes {
public:
  std::function<void()> OnQuestion;
  TModalResult AskConfirmation(const std::string& text) override {
    if (OnQuestion) OnQuestion();
    return TRecordedBoxes::AskConfirmation(text);
  }
};

class MainFormSortTest : public ::testing::Test {
protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
    ASSERT_TRUE(::InitCommonControlsEx(&classes));
    prefs = {game.Sub("System\\", true), game.Sub("Maps\\", true), game.Sub("Textures\\", true), "", "", "", "", "",
             game.Sub("Cache\\", true),  true,                     true};
    // Name and payload size (none for a negative size).
    const std::pair<const char*, int> packages[] = {
        {"MutB.u", 100}, {"dm-alpha.ut2", 5000}, {"Readme.txt", -1}, {"MutA.u", 3000}, {"CTF-Zed.ut2", 2000}};
    std::string index = "[Cache]\r\n";
    for (size_t i = 0; i < std::size(packages); ++i) {
      const std::string key = CacheGuid(static_cast<uint32_t>(i + 1)) + "-1";
      index += key + "=" + packages[i].first + "\r\n";
      if (packages[i].second >= 0)
        WriteFileBytes(prefs.CachePath + key + ".uxx", PayloadBytes(static_cast<size_t>(packages[i].second), 1));
    }
    WriteFileBytes(prefs.CachePath + "cache.ini", index);
    form = std::make_unique<TMainForm>(::GetModuleHandleA(nullptr),
                                       TMainFormServices{[this]() -> const TAppliedPrefs& { return prefs; }, {}, &boxes});
    form->Show(SW_SHOWNORMAL);
    list = form->ListHandle();
    header = reinterpret_cast<HWND>(::SendMessageA(list, LVM_GETHEADER, 0, 0));
    form->tbOpenCacheClick();
  }

  // A click on the column's header, as the mouse makes it.
  void ClickHeader(int column) const {
    RECT place{};
    ::SendMessageA(header, HDM_GETITEMRECT, column, reinterpret_cast<LPARAM>(&place));
    const LPARAM at = MAKELPARAM((place.left + place.right) / 2, (place.top + place.bottom) / 2);
    ::SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageA(header, WM_LBUTTONUP, 0, at);
  }
  // The captions as shown, each with "+" when ticked; then the header's arrows ("^" up, "v" down).
  std::string Shown() const {
    std::string shown;
    const int count = static_cast<int>(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) {
      char text[64] = "";
      LVITEMA item{};
      item.pszText = text;
      item.cchTextMax = sizeof text;
      ::SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
      const LRESULT state = ::SendMessageA(list, LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK);
      shown += std::string(text) + ((state >> 12) == TickedStateImage ? "+ " : " ");
    }
    for (int column = 0; column < 3; ++column) {
      HDITEMA item{};
      item.mask = HDI_FORMAT;
      ::SendMessageA(header, HDM_GETITEMA, column, reinterpret_cast<LPARAM>(&item));
      shown += (item.fmt & HDF_SORTUP) ? "^" : (item.fmt & HDF_SORTDOWN) ? "v" : "-";
    }
    return shown;
  }
  // The context menu opened over a row, and its "Select All of This Type" chosen.
  void SelectAllOfTypeAt(int row) {
    RECT place{};
    place.left = LVIR_BOUNDS;
    ::SendMessageA(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&place));
    POINT at{place.left + 20, (place.top + place.bottom) / 2};
    ::ClientToScreen(list, &at);
    RunWhenIdle([this] {
      ::EndMenu();
      ::PostMessageA(form->Handle(), WM_COMMAND, MAKEWPARAM(IDM_SELECTALLOFTYPE1, 0), 0);
    });
    ::SendMessageA(form->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), MAKELPARAM(at.x, at.y));
    Application.ProcessMessages();
  }

  TTempFolder game;
  TAppliedPrefs prefs;
  TBoxesDuringRun boxes;  // every question answered No: the game's tool never runs
  std::unique_ptr<TMainForm> form;
  HWND list = nullptr, header = nullptr;
};

TEST_F(MainFormSortTest, HeaderClicksSortTicksFollowAndTheRunWalksTheShownOrder) {
  EXPECT_EQ(Shown(), "MutB.u dm-alpha.ut2 Readme.txt MutA.u CTF-Zed.ut2 ---");
  ClickHeader(0);
  EXPECT_EQ(Shown(), "CTF-Zed.ut2 dm-alpha.ut2 MutA.u MutB.u Readme.txt ^--");
  form->SetRowTicked(2, true);
  ClickHeader(0);
  EXPECT_EQ(Shown(), "Readme.txt MutB.u MutA.u+ dm-alpha.ut2 CTF-Zed.ut2 v--");
  ClickHeader(1);
  EXPECT_EQ(Shown(), "MutB.u CTF-Zed.ut2 MutA.u+ dm-alpha.ut2 Readme.txt -^-");
  ClickHeader(2);
  EXPECT_EQ(Shown(), "Readme.txt CTF-Zed.ut2 dm-alpha.ut2 MutB.u MutA.u+ --^");
  ClickHeader(1);
  ClickHeader(1);
  EXPECT_EQ(Shown(), "dm-alpha.ut2 MutA.u+ CTF-Zed.ut2 MutB.u Readme.txt -v-");

  // Both mutators by the kind of the row under the menu; the unknown kind ticks nothing.
  SelectAllOfTypeAt(4);
  SelectAllOfTypeAt(3);
  EXPECT_EQ(Shown(), "dm-alpha.ut2 MutA.u+ CTF-Zed.ut2 MutB.u+ Readme.txt -v-");

  // The run meets the mutators as shown, and lists what is left in the same order; a header click
  // while it runs leaves the order it walks alone.
  boxes.OnQuestion = [this] { ClickHeader(0); };
  form->tbCopySelectedClick();
  const std::vector<std::string> asked(boxes.Shown.begin(), boxes.Shown.begin() + 2);
  EXPECT_EQ(asked, (std::vector<std::string>{"Do you wish to install the mutator:\r\n\r\nMutA.u",
                                             "Do you wish to install the mutator:\r\n\r\nMutB.u"}));
  EXPECT_EQ(Shown(), "dm-alpha.ut2 CTF-Zed.ut2 Readme.txt -v-");
  SelectAllOfTypeAt(1);  // maps of every game mode are one kind
  EXPECT_EQ(Shown(), "dm-alpha.ut2+ CTF-Zed.ut2+ Readme.txt -v-");
}

}  // namespace
