// The main window under Wine: its controls and their settings, the layout after a resize, the
// owner-data list behaving like a list that holds its rows (ticking by every route, Ctrl+A, a
// rebuild of 100,000 rows), and the commands run from its buttons against real files.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "core/applied_prefs.h"
#include "core/memory_prefs_store.h"
#include "job/job_texts.h"
#include "support/test_files.h"
#include "ui/main_window_texts.h"
#include "ui/pn_mainform.h"
#include "ui/pn_preferences.h"
#include "ui/resource.h"
#include "ui/window_driver.h"
#include "win/application.h"
#include "win/files.h"

namespace {

struct TBoxCall {
  std::string Kind, Text;
  bool ProgressVisible;
  std::string Status;
};

// Answers the message boxes from a script and records what was asked, with the window's progress
// bar and status line as they were at that moment.
class TScriptedBoxes : public IMessageBoxes {
public:
  std::vector<TBoxCall> Calls;
  std::deque<TModalResult> Answers;
  TMainForm* Form = nullptr;

  void ShowWarning(const std::string& text) override { Record("Warning", text); }
  TModalResult AskWarning(const std::string& text) override { return Answer("AskWarning", text); }
  TModalResult AskConfirmation(const std::string& text) override { return Answer("Confirm", text); }
  void ShowInformation(const std::string& text) override { Record("Information", text); }

private:
  void Record(const char* kind, const std::string& text);
  TModalResult Answer(const char* kind, const std::string& text) {
    Record(kind, text);
    if (Answers.empty()) return TModalResult::No;
    const TModalResult answer = Answers.front();
    Answers.pop_front();
    return answer;
  }
};

// The simple-mode text, as Wine's status bar hands it out (as its part 0).
std::string StatusText(HWND status) {
  char text[512] = "";
  ::SendMessageA(status, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
  return text;
}

void TScriptedBoxes::Record(const char* kind, const std::string& text) {
  Calls.push_back({kind, text, ::IsWindowVisible(Form->ProgressHandle()) != FALSE, StatusText(Form->StatusHandle())});
}

RECT ClientRectOf(HWND control, HWND parent) {
  RECT rect{};
  ::GetWindowRect(control, &rect);
  ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

// What any program reading the list sees: the texts and state the list view itself answers.
std::string ItemText(HWND list, int row, int column) {
  char text[260] = "";
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = text;
  item.cchTextMax = sizeof text;
  ::SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
  return text;
}

unsigned CheckImage(HWND list, int row) {
  return static_cast<unsigned>(::SendMessageA(list, LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK) >> 12);
}

BOOL SendStateImage(HWND list, int row, unsigned image) {
  LVITEMA state{};
  state.stateMask = LVIS_STATEIMAGEMASK;
  state.state = INDEXTOSTATEIMAGEMASK(image);
  return static_cast<BOOL>(::SendMessageA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state)));
}

void FocusRow(HWND list, int row) {
  LVITEMA state{};
  state.stateMask = state.state = LVIS_FOCUSED | LVIS_SELECTED;
  ::SendMessageA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
}

// A point on the row's check box, found the way a user's mouse would: by hit-testing along the row.
LPARAM CheckBoxPoint(HWND list, int row) {
  RECT bounds{};
  bounds.left = LVIR_BOUNDS;
  ::SendMessageA(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&bounds));
  const int y = (bounds.top + bounds.bottom) / 2;
  for (int x = bounds.left; x < bounds.left + 40; ++x) {
    LVHITTESTINFO hit{};
    hit.pt = {x, y};
    if (::SendMessageA(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)) == row &&
        (hit.flags & LVHT_ONITEMSTATEICON))
      return MAKELPARAM(x, y);
  }
  ADD_FAILURE() << "no check box found on row " << row;
  return 0;
}

void ClickCheckBox(HWND list, int row) {
  const LPARAM point = CheckBoxPoint(list, row);
  ::SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, point);
  ::SendMessageA(list, WM_LBUTTONUP, 0, point);
}

void PressSpace(HWND list) {
  ::SendMessageA(list, WM_KEYDOWN, VK_SPACE, 0);
  ::SendMessageA(list, WM_CHAR, ' ', 0);
  ::SendMessageA(list, WM_KEYUP, VK_SPACE, 0);
}

// Ctrl+A as the program's message loop handles it: through the window's accelerators.
void PressCtrlA(const TMainForm& form, HWND focused) {
  ::SetFocus(focused);
  BYTE keys[256] = {};
  ::GetKeyboardState(keys);
  keys[VK_CONTROL] = 0x80;
  ::SetKeyboardState(keys);
  MSG message{focused, WM_KEYDOWN, 'A', 0, 0, {}};
  ::TranslateAcceleratorA(form.Handle(), form.Accelerators(), &message);
  keys[VK_CONTROL] = 0;
  ::SetKeyboardState(keys);
}

struct TPackage {
  std::string Name;
  size_t Size;
};

class MainFormTest : public ::testing::Test {
protected:
  void SetUp() override {
    static const bool controls = [] {
      INITCOMMONCONTROLSEX classes{sizeof classes, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
      return ::InitCommonControlsEx(&classes) != FALSE;
    }();
    ASSERT_TRUE(controls);
    const char* folders[] = {"System", "Maps", "Textures", "Sounds", "Music", "StaticMeshes", "Animations", "KarmaData", "Cache"};
    for (const char* folder : folders) MakeFolders(game.Sub(std::string(folder) + "\\"));
    prefs = {game.Sub("System\\"),     game.Sub("Maps\\"),       game.Sub("Textures\\"),
             game.Sub("Sounds\\"),     game.Sub("Music\\"),      game.Sub("StaticMeshes\\"),
             game.Sub("Animations\\"), game.Sub("KarmaData\\"),  game.Sub("Cache\\"),
             true,                     true};
    form = std::make_unique<TMainForm>(::GetModuleHandleA(nullptr), Services());
    boxes.Form = form.get();
    form->Show(SW_SHOWNORMAL);
    list = form->ListHandle();
  }

  void WriteCache(const std::vector<TPackage>& packages) {
    std::string index = "[Cache]\r\n";
    for (size_t i = 0; i < packages.size(); ++i) {
      const std::string key = CacheGuid(static_cast<uint32_t>(i + 1)) + "-1";
      index += key + "=" + packages[i].Name + "\r\n";
      WriteFileBytes(game.Sub("Cache\\" + key + ".uxx"), PayloadBytes(packages[i].Size, static_cast<uint32_t>(i)));
    }
    WriteFileBytes(game.Sub("Cache\\cache.ini"), index + "\r\n");
  }

  void OpenCache(const std::vector<TPackage>& packages) {
    WriteCache(packages);
    ::SendMessageA(form->OpenCacheButton(), BM_CLICK, 0, 0);
  }

  virtual TMainFormServices Services() {
    return {[this]() -> const TAppliedPrefs& { return prefs; }, [this](HWND) { ++preferencesShown; }, &boxes};
  }

  std::vector<std::string> Captions() const {
    std::vector<std::string> captions;
    const int count = static_cast<int>(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) captions.push_back(ItemText(list, row, 0));
    return captions;
  }

  TTempFolder game;
  TAppliedPrefs prefs;
  TScriptedBoxes boxes;
  int preferencesShown = 0;
  std::unique_ptr<TMainForm> form;
  HWND list = nullptr;
};

const std::vector<TPackage> ThreePackages = {{"DM-Rankin.ut2", 3000}, {"MutFast.u", 16384}, {"Rock.utx", 0}};

TEST_F(MainFormTest, StartsWithItsControlsSettingsAndFirstStatusText) {
  EXPECT_EQ(WindowText(form->Handle()), "UT2K4 Pellorin v1.2 by Morvane");
  RECT outer{};
  ::GetWindowRect(form->Handle(), &outer);
  EXPECT_EQ(outer.right - outer.left, 528);
  EXPECT_EQ(outer.bottom - outer.top, 377);
  const LONG_PTR style = ::GetWindowLongPtrA(form->Handle(), GWL_STYLE);
  EXPECT_EQ(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), WS_THICKFRAME | WS_MINIMIZEBOX);

  EXPECT_EQ(WindowText(form->OpenCacheButton()), "Open cache");
  EXPECT_EQ(WindowText(form->CopySelectedButton()), "Integrate selected");
  for (HWND button : {form->OpenCacheButton(), form->CopySelectedButton()}) {
    BUTTON_IMAGELIST picture{};
    ::SendMessageA(button, BCM_GETIMAGELIST, 0, reinterpret_cast<LPARAM>(&picture));
    EXPECT_EQ(picture.uAlign, static_cast<UINT>(BUTTON_IMAGELIST_ALIGN_LEFT));
    EXPECT_EQ(ImageList_GetImageCount(picture.himl), 1);
  }

  const struct {
    const char* Caption;
    int Width;
  } columns[] = {{"Filename", 275}, {"Size", 75}, {"Type", 100}};
  for (int index = 0; index < 3; ++index) {
    char caption[64] = "";
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = caption;
    column.cchTextMax = sizeof caption;
    ASSERT_TRUE(::SendMessageA(list, LVM_GETCOLUMNA, index, reinterpret_cast<LPARAM>(&column)));
    EXPECT_STREQ(caption, columns[index].Caption);
    EXPECT_EQ(column.cx, columns[index].Width);
  }
  EXPECT_TRUE(::SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_CHECKBOXES);
  EXPECT_EQ(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 0);
  EXPECT_FALSE(::IsWindowVisible(form->ProgressHandle()));
  EXPECT_EQ(StatusText(form->StatusHandle()), "Click on \"Open cache\" to begin!");
  char item[64] = "";
  ::GetMenuStringA(form->PopupMenu(), IDM_SELECTALL1, item, sizeof item, MF_BYCOMMAND);
  EXPECT_STREQ(item, "Select &All\tCtrl+A");
}

TEST_F(MainFormTest, ResizeGivesTheHeightToTheListAndKeepsTheButtonsBottomLeft) {
  HWND window = form->Handle();
  RECT client{};
  ::GetClientRect(window, &client);
  const RECT listBefore = ClientRectOf(list, window);
  const RECT buttonBefore = ClientRectOf(form->CopySelectedButton(), window);
  EXPECT_EQ(client.bottom - listBefore.bottom, 95);
  EXPECT_EQ(client.bottom - buttonBefore.top, 85);

  ::SetWindowPos(window, nullptr, 0, 0, 700, 500, SWP_NOMOVE | SWP_NOZORDER);
  RECT grown{};
  ::GetClientRect(window, &grown);
  const int heightGain = grown.bottom - client.bottom;
  ASSERT_GT(heightGain, 100);
  const RECT listAfter = ClientRectOf(list, window);
  EXPECT_EQ(listAfter.top, 0);
  EXPECT_EQ(listAfter.bottom - listBefore.bottom, heightGain);
  EXPECT_EQ(listAfter.right, grown.right);
  for (HWND button : {form->OpenCacheButton(), form->CopySelectedButton()}) {
    const RECT place = ClientRectOf(button, window);
    EXPECT_EQ(grown.bottom - place.top, 85);
  }
  const RECT status = ClientRectOf(form->StatusHandle(), window);
  EXPECT_EQ(status.bottom, grown.bottom);
  EXPECT_EQ(ClientRectOf(form->ProgressHandle(), window).bottom, status.top);

  // Showing the progress bar moves nothing.
  form->SetProgressVisible(true);
  EXPECT_EQ(ClientRectOf(list, window).bottom, listAfter.bottom);
  EXPECT_EQ(ClientRectOf(form->OpenCacheButton(), window).top, grown.bottom - 85);
  form->SetProgressVisible(false);

  // Neither the system command nor a double click on the title bar maximises the window.
  ::SendMessageA(window, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  EXPECT_FALSE(::IsZoomed(window));
  ::SendMessageA(window, WM_NCLBUTTONDBLCLK, HTCAPTION, 0);
  EXPECT_FALSE(::IsZoomed(window));
}

TEST_F(MainFormTest, OpenCacheListsEveryEntryThroughTheListView) {
  OpenCache(ThreePackages);
  ASSERT_EQ(Captions(), (std::vector<std::string>{"DM-Rankin.ut2", "MutFast.u", "Rock.utx"}));
  EXPECT_EQ(ItemText(list, 0, 1), "2KB");
  EXPECT_EQ(ItemText(list, 0, 2), "Deathmatch Map");
  EXPECT_EQ(ItemText(list, 2, 1), "0 bytes");
  for (int row = 0; row < 3; ++row) EXPECT_EQ(CheckImage(list, row), UntickedStateImage) << row;
}

TEST_F(MainFormTest, EveryWayOfTickingTogglesTheRowTheRunReads) {
  const struct {
    const char* Way;
    void (*Tick)(HWND list, int row);
  } ways[] = {
      {"LVM_SETITEMSTATE", [](HWND l, int row) { EXPECT_TRUE(SendStateImage(l, row, TickedStateImage)); }},
      {"Space", [](HWND l, int row) { FocusRow(l, row); PressSpace(l); }},
      {"mouse", [](HWND l, int row) { ClickCheckBox(l, row); }},
  };
  OpenCache(ThreePackages);
  for (const auto& way : ways) {
    SCOPED_TRACE(way.Way);
    way.Tick(list, 1);
    EXPECT_TRUE(form->RowTicked(1));
    EXPECT_FALSE(form->RowTicked(0));
    EXPECT_FALSE(form->RowTicked(2));
    EXPECT_EQ(CheckImage(list, 1), TickedStateImage);
    form->SetRowTicked(1, false);
    EXPECT_EQ(CheckImage(list, 1), UntickedStateImage);
  }
  // Space and the mouse toggle: a second time unticks.
  FocusRow(list, 2);
  PressSpace(list);
  PressSpace(list);
  EXPECT_FALSE(form->RowTicked(2));
  ClickCheckBox(list, 0);
  ClickCheckBox(list, 0);
  EXPECT_FALSE(form->RowTicked(0));
}

TEST_F(MainFormTest, ItemStateMessagesAnswerLikeAListThatHoldsItsRows) {
  OpenCache(ThreePackages);
  EXPECT_TRUE(SendStateImage(list, -1, TickedStateImage));  // -1: every row
  for (int row = 0; row < 3; ++row) EXPECT_TRUE(form->RowTicked(row));
  EXPECT_FALSE(SendStateImage(list, 3, UntickedStateImage));
  EXPECT_FALSE(SendStateImage(list, 0, 3));  // not a check box image
  EXPECT_TRUE(form->RowTicked(0));

  // A tick and a selection in one message: both are taken, and each is reported back.
  LVITEMA both{};
  both.stateMask = LVIS_STATEIMAGEMASK | LVIS_SELECTED;
  both.state = INDEXTOSTATEIMAGEMASK(UntickedStateImage) | LVIS_SELECTED;
  EXPECT_TRUE(::SendMessageA(list, LVM_SETITEMSTATE, 2, reinterpret_cast<LPARAM>(&both)));
  EXPECT_FALSE(form->RowTicked(2));
  const LRESULT state = ::SendMessageA(list, LVM_GETITEMSTATE, 2, LVIS_STATEIMAGEMASK | LVIS_SELECTED);
  EXPECT_EQ(state, static_cast<LRESULT>(INDEXTOSTATEIMAGEMASK(UntickedStateImage) | LVIS_SELECTED));
}

TEST_F(MainFormTest, CtrlATicksEveryRowOnlyWhileTheListHasTheFocus) {
  PressCtrlA(*form, list);  // an empty list: nothing to do
  EXPECT_EQ(form->RowCount(), 0);
  OpenCache(ThreePackages);
  PressCtrlA(*form, form->OpenCacheButton());
  EXPECT_FALSE(form->RowTicked(0));
  SendStateImage(list, 1, TickedStateImage);
  PressCtrlA(*form, list);
  for (int row = 0; row < 3; ++row) EXPECT_TRUE(form->RowTicked(row)) << row;
  // The context menu's item does the same, wherever the focus is.
  OpenCache(ThreePackages);
  ::SendMessageA(form->Handle(), WM_COMMAND, MAKEWPARAM(IDM_SELECTALL1, 0), 0);
  for (int row = 0; row < 3; ++row) EXPECT_TRUE(form->RowTicked(row)) << row;
}

TEST_F(MainFormTest, ReactivationGivesTheFocusBackToTheControlThatHadIt) {
  // As when a message box closes: without this the window itself would hold the focus, and
  // neither Space nor Ctrl+A would reach the list.
  for (HWND control : {list, form->CopySelectedButton()}) {
    ::SetFocus(control);
    ::SendMessageA(form->Handle(), WM_ACTIVATE, WA_INACTIVE, 0);
    ::SetFocus(form->Handle());
    ::SendMessageA(form->Handle(), WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_EQ(::GetFocus(), control);
  }
}

TEST_F(MainFormTest, IntegrateSelectedMovesTheTickedPackagesAndReports) {
  OpenCache(ThreePackages);
  const std::string mutatorPayload = ReadFileBytes(game.Sub("Cache\\" + CacheGuid(2) + "-1.uxx"));
  SendStateImage(list, 0, TickedStateImage);
  SendStateImage(list, 1, TickedStateImage);
  boxes.Answers = {TModalResult::No};  // not registered now: no tool is started
  ::SendMessageA(form->CopySelectedButton(), BM_CLICK, 0, 0);

  ASSERT_EQ(boxes.Calls.size(), 2u);
  // Mid-run, while the mutator's question is open: the progress bar is up, the status names the
  // package in hand (its payload is deleted only once the index no longer lists it).
  EXPECT_EQ(boxes.Calls[0].Kind, "Confirm");
  EXPECT_TRUE(boxes.Calls[0].ProgressVisible);
  EXPECT_EQ(boxes.Calls[0].Status, "Copying MutFast.u...");
  EXPECT_EQ(boxes.Calls[1].Kind, "Information");
  EXPECT_EQ(boxes.Calls[1].Text, JobTexts::RunSucceeded);
  EXPECT_FALSE(boxes.Calls[1].ProgressVisible);
  EXPECT_EQ(boxes.Calls[1].Status, "Done!");

  EXPECT_EQ(ReadFileBytes(game.Sub("Maps\\DM-Rankin.ut2")), PayloadBytes(3000, 0));
  EXPECT_EQ(ReadFileBytes(game.Sub("System\\MutFast.u")), mutatorPayload);
  EXPECT_FALSE(FileExists(game.Sub("Cache\\" + CacheGuid(1) + "-1.uxx")));
  EXPECT_EQ(ReadFileBytes(game.Sub("Cache\\cache.ini")), "[Cache]\r\n" + CacheGuid(3) + "-1=Rock.utx\r\n\r\n");
  EXPECT_EQ(Captions(), std::vector<std::string>{"Rock.utx"});
  EXPECT_FALSE(form->RowTicked(0));
  EXPECT_FALSE(::IsWindowVisible(form->ProgressHandle()));
}

// The Delete key removes the selected row when none is ticked, after one question, and leaves
// the list and the status line saying what is left.
TEST_F(MainFormTest, TheDeleteKeyRemovesTheSelectedRowFromTheCacheOnly) {
  OpenCache(ThreePackages);
  FocusRow(list, 0);
  boxes.Answers = {TModalResult::No, TModalResult::Yes};
  ::SendMessageA(list, WM_KEYDOWN, VK_DELETE, 0);
  EXPECT_EQ(Captions().size(), 3u) << "No removes nothing";
  ::SendMessageA(list, WM_KEYDOWN, VK_DELETE, 0);

  ASSERT_EQ(boxes.Calls.size(), 2u);
  EXPECT_EQ(boxes.Calls[1].Kind, "Confirm");
  EXPECT_NE(boxes.Calls[1].Text.find("DM-Rankin.ut2"), std::string::npos);
  EXPECT_FALSE(FileExists(game.Sub("Cache\\" + CacheGuid(1) + "-1.uxx")));
  EXPECT_FALSE(FileExists(game.Sub("Maps\\DM-Rankin.ut2")));
  EXPECT_EQ(Captions(), (std::vector<std::string>{"MutFast.u", "Rock.utx"}));
  EXPECT_EQ(StatusText(form->StatusHandle()).rfind("Removed 1 package (", 0), 0u);
}

// The bar is driven far faster than it repaints, as the copy of many small files drives it; it
// may lag while shown, but catches up with the latest request on its own, and hiding it or
// showing it again leaves it exact. A hidden bar follows every request at once.
TEST_F(MainFormTest, TheProgressBarEndsAtTheLatestRangeAndPosition) {
  HWND bar = form->ProgressHandle();
  auto shows = [bar](int maximum, int position) {
    return ::SendMessageA(bar, PBM_GETRANGE, FALSE, 0) == maximum && ::SendMessageA(bar, PBM_GETPOS, 0, 0) == position;
  };
  auto copyFiles = [this](int files, int size) {
    for (int file = 1; file <= files; ++file) {
      form->SetProgressRange(size * file + 5);
      form->SetProgressPosition(0);
      form->SetProgressPosition(size * file);
    }
  };
  enum TEnd { Hidden, ShownAgain, LeftShowing };
  for (TEnd end : {Hidden, ShownAgain, LeftShowing}) {
    form->SetProgressVisible(true);
    copyFiles(500, 4096);
    // A much smaller file last: its range clamps the position the bar held before.
    form->SetProgressRange(12);
    form->SetProgressPosition(7);
    if (end == Hidden) form->SetProgressVisible(false);
    if (end == ShownAgain) form->SetProgressVisible(true);
    if (end == LeftShowing) {
      for (int round = 0; round < 500 && !shows(12, 7); ++round) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        Application.ProcessMessages();
      }
    }
    EXPECT_TRUE(shows(12, 7)) << end;
    form->SetProgressVisible(false);
  }

  for (int position : {3, 0, 11}) {
    form->SetProgressPosition(position);
    EXPECT_TRUE(shows(12, position)) << position;
  }
}

TEST_F(MainFormTest, ARebuildOfOneHundredThousandRowsReplacesEveryRow) {
  constexpr int Many = 100000;
  std::vector<TListingRow> rows(Many);
  for (int i = 0; i < Many; ++i) rows[static_cast<size_t>(i)] = {"Pkg" + std::to_string(i) + ".utx", "1KB", "Texture", 0, false};
  form->ReplaceRows(rows);
  ASSERT_EQ(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), Many);
  FocusRow(list, Many - 1);
  PressSpace(list);
  form->SelectAll1Click();
  EXPECT_EQ(CheckImage(list, Many - 1), TickedStateImage);
  EXPECT_EQ(ItemText(list, Many - 1, 0), "Pkg99999.utx");

  rows.resize(10);
  form->ReplaceRows(rows);
  EXPECT_EQ(form->RowCount(), 10);
  EXPECT_EQ(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 10);
  EXPECT_FALSE(form->RowTicked(9));
  // As after deleting every row: no stale selection or focus reaches the new rows.
  EXPECT_EQ(::SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED), -1);
  EXPECT_EQ(::SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0), 0);
}

TEST_F(MainFormTest, TypingALetterFindsTheNextCaption) {
  OpenCache(ThreePackages);
  FocusRow(list, 0);
  ::SendMessageA(list, WM_CHAR, 'r', 1);  // a repeat count of 1, as typed
  EXPECT_EQ(::SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED), 2);
}

TEST_F(MainFormTest, ExitClosesTheWindowWithoutWritingAnything) {
  OpenCache(ThreePackages);
  const std::string indexBefore = ReadFileBytes(game.Sub("Cache\\cache.ini"));
  ::SendMessageA(form->Handle(), WM_COMMAND, MAKEWPARAM(IDM_PREFERENCES1, 0), 0);
  EXPECT_EQ(preferencesShown, 1);
  ::SendMessageA(form->Handle(), WM_COMMAND, MAKEWPARAM(IDM_EXIT1, 0), 0);
  EXPECT_FALSE(::IsWindow(list));
  EXPECT_TRUE(boxes.Calls.empty());
  EXPECT_EQ(ReadFileBytes(game.Sub("Cache\\cache.ini")), indexBefore);
}

// Alt+F4 as the keyboard gives it: into the system's input, for the foreground window.
void TypeAltF4() {
  const std::pair<WORD, DWORD> strokes[] = {{VK_MENU, 0}, {VK_F4, 0}, {VK_F4, KEYEVENTF_KEYUP}, {VK_MENU, KEYEVENTF_KEYUP}};
  INPUT keys[std::size(strokes)] = {};
  for (size_t i = 0; i < std::size(strokes); ++i) {
    keys[i].type = INPUT_KEYBOARD;
    keys[i].ki.wVk = strokes[i].first;
    keys[i].ki.dwFlags = strokes[i].second;
  }
  ::SendInput(static_cast<UINT>(std::size(keys)), keys, sizeof(INPUT));
}

// While the game's tool runs, the window repaints and takes real input: Alt+F4 typed during a
// registration ends the wait through the close path, the tool is left running, and the window
// closes once the registration has stopped.
TEST_F(MainFormTest, WhileTheGameToolRunsTheWindowRepaintsAndTakesTheKeyboardsClose) {
  std::string toolFile = PN_STAND_IN_UCC;
  std::replace(toolFile.begin(), toolFile.end(), '/', '\\');
  ASSERT_TRUE(::CopyFileA(toolFile.c_str(), (prefs.SystemPath + "ucc.exe").c_str(), FALSE));
  WriteFileBytes(prefs.SystemPath + "MyMutator.u", "package");
  const std::string holdTool = prefs.SystemPath + "ucc-wait";  // the stand-in waits while it exists
  WriteFileBytes(holdTool, "");
  boxes.Answers = {TModalResult::Yes};
  HWND window = form->Handle();
  // In a corner, away from the pointer (in the middle of the test display), and with the mouse
  // moves the arrangement brings handled: under Wine a mouse move waiting in the queue wakes any
  // wait, which would hide a wait that ignores the keys.
  ::SetWindowPos(window, nullptr, 20, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  ::SetForegroundWindow(window);
  ASSERT_EQ(::GetForegroundWindow(), window);
  Application.ProcessMessages();

  const TKernelHandle registrationOver(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
  TKernelHandle tool;
  bool toolLetGoByGuard = false;
  std::thread user([&] {
    const TLauncher& launcher = form->Launcher();
    while (!launcher.Running() && ::WaitForSingleObject(registrationOver.Get(), 1) == WAIT_TIMEOUT) {
    }
    ::DuplicateHandle(::GetCurrentProcess(), launcher.ProcessHandle(), ::GetCurrentProcess(), tool.Put(), 0, FALSE,
                      DUPLICATE_SAME_ACCESS);
    ::InvalidateRect(window, nullptr, TRUE);
    TypeAltF4();
    // Only when the keys never reach the window: the tool is let go, so that the test fails
    // rather than hangs.
    if (::WaitForSingleObject(registrationOver.Get(), 60000) == WAIT_TIMEOUT) {
      toolLetGoByGuard = true;
      ::DeleteFileA(holdTool.c_str());
    }
  });
  form->tbRegisterUninstalledClick();
  ::SetEvent(registrationOver.Get());
  user.join();

  EXPECT_FALSE(toolLetGoByGuard) << "the keys never reached the window";
  EXPECT_FALSE(::GetUpdateRect(window, nullptr, FALSE)) << "not repainted during the wait";
  ASSERT_TRUE(tool);
  EXPECT_EQ(::WaitForSingleObject(tool.Get(), 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "the tool is left running";
  Application.ProcessMessages();  // the close that waited for the registration
  EXPECT_FALSE(::IsWindow(window));
  ::DeleteFileA(holdTool.c_str());
  ::WaitForSingleObject(tool.Get(), INFINITE);
}

// A key as the program's message loop meets it: posted to the focused control and taken through
// the main window's dialog navigation.
void PressThroughLoop(HWND focused, WPARAM key) {
  ::SetFocus(focused);
  ::PostMessageA(focused, WM_KEYDOWN, key, 1);
  ::PostMessageA(focused, WM_KEYUP, key, 0xC0000001);
  Application.ProcessMessages();
}

TEST_F(MainFormTest, TabEnterAndEscMoveAndPressAsInADialogAndNeverCloseTheWindow) {
  WriteCache(ThreePackages);
  Application.AddDialogNavigation(form->Handle());
  const HWND openCache = form->OpenCacheButton(), integrate = form->CopySelectedButton();
  // Tab goes round the list and the two buttons, in that order.
  const std::pair<HWND, HWND> tabs[] = {{list, openCache}, {openCache, integrate}, {integrate, list}};
  for (const auto& [from, to] : tabs) {
    PressThroughLoop(from, VK_TAB);
    EXPECT_EQ(::GetFocus(), to) << WindowText(from);
  }
  // Esc anywhere and Enter in the list do nothing at all.
  for (HWND focused : {list, openCache, integrate}) {
    PressThroughLoop(focused, VK_ESCAPE);
    EXPECT_TRUE(::IsWindowVisible(form->Handle())) << WindowText(focused);
  }
  PressThroughLoop(list, VK_RETURN);
  EXPECT_EQ(form->RowCount(), 0);
  EXPECT_TRUE(boxes.Calls.empty());
  // Enter on a focused button presses it.
  PressThroughLoop(openCache, VK_RETURN);
  EXPECT_EQ(form->RowCount(), 3);
  Application.RemoveDialogNavigation(form->Handle());
}

// An install record of the test's own, in the registry's 32-bit view; absent until written.
struct TInstallRecord {
  const char* Key = "SOFTWARE\\Morvane\\PellorinTests\\MainFormRecord";
  TInstallRecord() { Remove(); }
  ~TInstallRecord() { Remove(); }
  void Remove() const { ::RegDeleteKeyExA(HKEY_LOCAL_MACHINE, Key, KEY_WOW64_32KEY, 0); }
  void Write(const std::string& folder) const {
    TRegKey key;
    ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, Key, 0, nullptr, 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY, nullptr, key.Put(),
                      nullptr);
    ::RegSetValueExA(key.Get(), "Folder", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                     static_cast<DWORD>(folder.size() + 1));
  }
};

class TNoFolderPicker : public IFolderPicker {
public:
  std::optional<std::string> PickFolder(HWND) override {
    ADD_FAILURE() << "the folder picker opened";
    return std::nullopt;
  }
};

void ClickButton(HWND dialog, int id) {
  ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

// The two windows as start-up makes them: the main window, reading the preferences the dialog
// applies, and the preferences dialog, hosted by the main window; nothing stored yet.
class MainFormWithPreferencesTest : public MainFormTest {
protected:
  void SetUp() override {
    MainFormTest::SetUp();
    form->Commands().GameSearch = {{{TRegistryHive::LocalMachine, TRegistryView::Bits32, record.Key}}, {}, {}};
    prefsForm = std::make_unique<TPrefsForm>(store, *form, boxes, folderPicker);
  }
  TMainFormServices Services() override {
    return {[this]() -> const TAppliedPrefs& { return prefsForm->Applied(); },
            [this](HWND owner) { prefsForm->ShowModal(owner); }, &boxes};
  }

  TInstallRecord record;
  TMemoryPrefsStore store;
  TNoFolderPicker folderPicker;
  std::unique_ptr<TPrefsForm> prefsForm;
};

// With no cache folder set and no install record, "Default paths" has Open cache ask for the index
// file: that dialog is modal over the preferences dialog, whose buttons cannot be pressed behind it.
TEST_F(MainFormWithPreferencesTest, DefaultPathsAsksForTheIndexOverThePreferencesDialog) {
  HWND preferences = nullptr, fileDialogOwner = nullptr;
  bool preferencesEnabled = true;
  std::optional<TDialogDriver> fileDialog;
  TDialogDriver driver([&](HWND dialog) {
    preferences = dialog;
    fileDialog.emplace([&](HWND picker) {
      fileDialogOwner = ::GetWindow(picker, GW_OWNER);
      preferencesEnabled = ::IsWindowEnabled(preferences);
      ::PostMessageA(picker, WM_COMMAND, IDCANCEL, 0);
      RunWhenIdle([&] { ClickButton(preferences, IDC_TBCANCEL); });
    });
    ClickButton(dialog, IDC_TBQUICKPATH);
  });
  ::SendMessageA(form->Handle(), WM_COMMAND, MAKEWPARAM(IDM_PREFERENCES1, 0), 0);
  ASSERT_TRUE(fileDialog && fileDialog->Acted());
  EXPECT_EQ(fileDialogOwner, preferences);
  EXPECT_FALSE(preferencesEnabled);
}

int BulbImage(HWND list, int row) {
  LVITEMA item{};
  item.mask = LVIF_IMAGE;
  item.iItem = row;
  ::SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
  return item.iImage;
}

// The first run finds the game through its install record, lists the cache and only then applies
// the default folders: a package already in its folder still shows the unlit bulb, as at every
// later Open cache.
TEST_F(MainFormWithPreferencesTest, FirstRunShowsThePackagesAlreadyInTheirFoldersAsSuch) {
  constexpr int LitBulb = 0, UnlitBulb = 1;
  record.Write(game.Path());
  WriteCache(ThreePackages);
  WriteFileBytes(game.Sub("Maps\\DM-Rankin.ut2"), std::string(3000, 'x'));  // its size: the same version, as far as the list can tell
  auto bulbs = [this] {
    std::vector<int> images;
    for (int row = 0; row < form->RowCount(); ++row) images.push_back(BulbImage(list, row));
    return images;
  };
  prefsForm->Create();
  ASSERT_EQ(prefsForm->Applied().MapPath, game.Sub("Maps\\"));
  EXPECT_EQ(bulbs(), (std::vector<int>{UnlitBulb, LitBulb, LitBulb}));
  const std::vector<int> firstRun = bulbs();
  ::SendMessageA(form->OpenCacheButton(), BM_CLICK, 0, 0);
  EXPECT_EQ(bulbs(), firstRun);
}

// The program's arrangement of windows: the application window, of no size, carries the taskbar
// button and owns the main window, which has none of its own.
class ApplicationWindowTest : public MainFormTest {
protected:
  void SetUp() override {
    Application.Title = "Pellorin v1.1";
    if (!Application.Handle()) Application.CreateHandle(::GetModuleHandleA(nullptr));
    MainFormTest::SetUp();
    Application.ShowHandle();
    ::SetActiveWindow(form->Handle());
  }
  HWND app() const { return Application.Handle(); }
};

BOOL CALLBACK CollectTaskbarWindow(HWND window, LPARAM found) {
  DWORD process = 0;
  ::GetWindowThreadProcessId(window, &process);
  const bool taskbarButton = (!::GetWindow(window, GW_OWNER) || (::GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_APPWINDOW)) &&
                             !(::GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  if (process == ::GetCurrentProcessId() && ::IsWindowVisible(window) && taskbarButton)
    reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
  return TRUE;
}

// The top-level windows of this process that the shell gives a taskbar button.
std::vector<HWND> TaskbarWindows() {
  std::vector<HWND> found;
  ::EnumWindows(&CollectTaskbarWindow, reinterpret_cast<LPARAM>(&found));
  return found;
}

bool HasNoSize(HWND window) {
  RECT rect{};
  ::GetWindowRect(window, &rect);
  return rect.right == rect.left && rect.bottom == rect.top;
}

TEST_F(ApplicationWindowTest, OnlyTheApplicationWindowHasATaskbarButtonAndItOwnsTheMainWindow) {
  ASSERT_EQ(TaskbarWindows(), std::vector<HWND>{app()});
  EXPECT_EQ(WindowText(app()), "Pellorin v1.1");
  EXPECT_EQ(WindowText(form->Handle()), "UT2K4 Pellorin v1.2 by Morvane");
  EXPECT_EQ(::GetWindow(form->Handle(), GW_OWNER), app());
  EXPECT_TRUE(HasNoSize(app()));
  EXPECT_NE(::GetClassLongPtrA(app(), GCLP_HICON), 0);
  EXPECT_NE(::GetClassLongPtrA(form->Handle(), GCLP_HICON), 0);
  // Activating the application window, as a click on its button does, activates the main window.
  ::SetActiveWindow(app());
  EXPECT_EQ(::GetActiveWindow(), form->Handle());
  EXPECT_EQ(::GetFocus(), list);
}

TEST_F(ApplicationWindowTest, EveryWayOfMinimisingHidesTheMainWindowAndRestoringBringsItBackActive) {
  const struct {
    const char* Way;
    void (*Minimise)(HWND main, HWND app);
  } ways[] = {
      {"main window's minimise box", [](HWND main, HWND) { ::SendMessageA(main, WM_SYSCOMMAND, SC_MINIMIZE, 0); }},
      {"taskbar button", [](HWND, HWND app) { ::SendMessageA(app, WM_SYSCOMMAND, SC_MINIMIZE, 0); }},
      {"shell minimising the main window", [](HWND main, HWND) { ::ShowWindow(main, SW_MINIMIZE); }},
      {"shell minimising the program", [](HWND, HWND app) { ::ShowWindow(app, SW_MINIMIZE); }},
  };
  for (const auto& way : ways) {
    SCOPED_TRACE(way.Way);
    ::SetFocus(form->CopySelectedButton());
    way.Minimise(form->Handle(), app());
    EXPECT_TRUE(::IsIconic(app()));
    EXPECT_FALSE(::IsWindowVisible(form->Handle()));
    EXPECT_EQ(TaskbarWindows(), std::vector<HWND>{app()});

    ::SendMessageA(app(), WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(::IsIconic(app()));
    EXPECT_TRUE(HasNoSize(app()));
    EXPECT_TRUE(::IsWindowVisible(form->Handle()));
    EXPECT_FALSE(::IsIconic(form->Handle()));
    EXPECT_EQ(::GetActiveWindow(), form->Handle());
    EXPECT_EQ(::GetFocus(), form->CopySelectedButton());
  }
}

// A modal window over the main window, as a message box or the preferences dialog is: owned by
// it, active, with the main window disabled.
class TModalStandIn {
public:
  explicit TModalStandIn(HWND owner) : owner_(owner) {
    window_ = ::CreateWindowExA(WS_EX_DLGMODALFRAME, "#32770", "Information", WS_POPUP | WS_CAPTION | WS_VISIBLE,
                                100, 100, 200, 100, owner, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    ::EnableWindow(owner_, FALSE);
    ::SetActiveWindow(window_);
  }
  ~TModalStandIn() {
    ::EnableWindow(owner_, TRUE);
    ::DestroyWindow(window_);
  }
  HWND Handle() const { return window_; }

private:
  HWND owner_;
  HWND window_;
};

TEST_F(ApplicationWindowTest, WithABoxOpenTheProgramMinimisesRestoresAndActivatesWithTheBoxOnTop) {
  TModalStandIn box(form->Handle());
  ASSERT_EQ(::GetActiveWindow(), box.Handle());
  ::SendMessageA(app(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_FALSE(::IsWindowVisible(box.Handle())) << "a box left floating over an empty screen";
  ::SendMessageA(app(), WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_TRUE(::IsWindowVisible(form->Handle()));
  EXPECT_TRUE(::IsWindowVisible(box.Handle()));
  EXPECT_EQ(::GetActiveWindow(), box.Handle());
  ::SetActiveWindow(app());
  EXPECT_EQ(::GetActiveWindow(), box.Handle());
}

TEST_F(ApplicationWindowTest, TheTaskbarsCloseClosesTheMainWindowUnlessABoxIsOpenOverIt) {
  OpenCache(ThreePackages);
  const std::string indexBefore = ReadFileBytes(game.Sub("Cache\\cache.ini"));
  {
    // The box's own loop must not lose the window from under it; the box comes forward instead.
    TModalStandIn box(form->Handle());
    ::SendMessageA(app(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(::IsWindow(list));
    EXPECT_EQ(::GetActiveWindow(), box.Handle());
  }

  ::SendMessageA(app(), WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_FALSE(::IsWindow(list));
  EXPECT_TRUE(::IsWindow(app()));
  EXPECT_TRUE(boxes.Calls.empty());
  EXPECT_EQ(ReadFileBytes(game.Sub("Cache\\cache.ini")), indexBefore);
}

// The list as every reader sees it: captions, "+" when ticked, then the header's arrows.
std::string Shown(HWND list) {
  std::string shown;
  for (int row = 0; row < ::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0); ++row)
    shown += ItemText(list, row, 0) + (CheckImage(list, row) == TickedStateImage ? "+ " : " ");
  for (int column = 0; column < 3; ++column) {
    HDITEMA item{};
    item.mask = HDI_FORMAT;
    ::SendMessageA(ListView_GetHeader(list), HDM_GETITEMA, column, reinterpret_cast<LPARAM>(&item));
    shown += (item.fmt & HDF_SORTUP) ? "^" : (item.fmt & HDF_SORTDOWN) ? "v" : "-";
  }
  return shown;
}

// A mouse click on a column's header, sent, or posted to arrive while a command runs.
void ClickHeader(HWND list, int column, bool post = false) {
  HWND header = ListView_GetHeader(list);
  RECT place{};
  ::SendMessageA(header, HDM_GETITEMRECT, column, reinterpret_cast<LPARAM>(&place));
  const LPARAM at = MAKELPARAM((place.left + place.right) / 2, (place.top + place.bottom) / 2);
  for (const auto& [message, keys] : {std::pair<UINT, WPARAM>{WM_LBUTTONDOWN, MK_LBUTTON}, {WM_LBUTTONUP, 0}})
    post ? (void)::PostMessageA(header, message, keys, at) : (void)::SendMessageA(header, message, keys, at);
}

// The context menu opened over a row, and "Select All of This Type" chosen in it.
void SelectAllOfTypeAt(HWND form, HWND list, int row) {
  RECT place{};
  ::SendMessageA(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&place));
  POINT at{place.left + 20, (place.top + place.bottom) / 2};
  ::ClientToScreen(list, &at);
  RunWhenIdle([form] {
    ::EndMenu();
    ::PostMessageA(form, WM_COMMAND, IDM_SELECTALLOFTYPE1, 0);
  });
  ::SendMessageA(form, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), MAKELPARAM(at.x, at.y));
  Application.ProcessMessages();
}

// Opening a folder in the install dialog leaves the current folder, which relative folders resolve against.
TEST_F(MainFormTest, TheInstallDialogKeepsTheCurrentFolder) {
  const std::string downloads = game.Sub("Downloads\\", true), before = FullPathOf(".");
  WriteFileBytes(downloads + "Rock.utx", "rock");
  const auto type = [](HWND dialog, const std::string& text) {
    for (const int fileNameBox : {0x47C, 0x480}) ::SetDlgItemTextA(dialog, fileNameBox, text.c_str());
    ::PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  };
  TDialogDriver driver([&](HWND dialog) { type(dialog, downloads), RunWhenIdle([&, dialog] { type(dialog, "Rock.utx"); }); });
  EXPECT_EQ(form->PickPackageFiles("Install", "All|*.*"), std::vector<std::string>{downloads + "Rock.utx"});
  EXPECT_EQ(FullPathOf("."), before);
}

TEST_F(MainFormTest, HeaderClicksSortTheListAndTheRunWalksItAsShown) {
  OpenCache({{"MutB.u", 100}, {"dm-alpha.ut2", 5000}, {"Readme.txt", 0}, {"MutA.u", 3000}, {"CTF-Zed.ut2", 2000}});
  ClickHeader(list, 0);
  EXPECT_EQ(Shown(list), "CTF-Zed.ut2 dm-alpha.ut2 MutA.u MutB.u Readme.txt ^--");
  form->SetRowTicked(2, true);
  ClickHeader(list, 0);
  EXPECT_EQ(Shown(list), "Readme.txt MutB.u MutA.u+ dm-alpha.ut2 CTF-Zed.ut2 v--");
  ClickHeader(list, 2);
  EXPECT_EQ(Shown(list), "Readme.txt CTF-Zed.ut2 dm-alpha.ut2 MutB.u MutA.u+ --^");
  ClickHeader(list, 1);
  ClickHeader(list, 1);
  EXPECT_EQ(Shown(list), "dm-alpha.ut2 MutA.u+ CTF-Zed.ut2 MutB.u Readme.txt -v-");
  // By the kind of the row under the menu: both mutators; the unknown kind ticks nothing.
  SelectAllOfTypeAt(form->Handle(), list, 4);
  SelectAllOfTypeAt(form->Handle(), list, 3);
  EXPECT_EQ(Shown(list), "dm-alpha.ut2 MutA.u+ CTF-Zed.ut2 MutB.u+ Readme.txt -v-");

  // The run asks about the mutators in the order shown, a header click while it copies changes
  // nothing, and what is left is listed in the same order.
  ClickHeader(list, 0, true);
  form->tbCopySelectedClick();
  std::vector<std::string> asked;
  for (const TBoxCall& call : boxes.Calls)
    if (call.Kind == "Confirm") asked.push_back(call.Text.substr(call.Text.size() - 6));
  EXPECT_EQ(asked, (std::vector<std::string>{"MutA.u", "MutB.u"}));
  EXPECT_EQ(Shown(list), "dm-alpha.ut2 CTF-Zed.ut2 Readme.txt -v-");
  SelectAllOfTypeAt(form->Handle(), list, 1);  // maps of every game mode are one kind
  EXPECT_EQ(Shown(list), "dm-alpha.ut2+ CTF-Zed.ut2+ Readme.txt -v-");
}

}  // namespace
