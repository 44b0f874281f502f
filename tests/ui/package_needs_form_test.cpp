// What packages need, through the real windows: the question before a run answered in the
// program's own box (Yes, Esc, the close box), the context menu's new items, and the details
// dialog opened from the menu, by Enter and by a double click.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "job/job_controller.h"
#include "job/package_cache_fixture.h"
#include "ui/message_dialog.h"
#include "ui/pn_mainform.h"
#include "ui/resource.h"
#include "ui/window_driver.h"

namespace {

// The scripted view, but the question about needed packages is the program's own box.
class TRealQuestionView : public TFakeMainView {
public:
  TMessageDialogs Dialogs;
  TModalResult AskConfirmation(const std::string& text) override { return Dialogs.AskConfirmation(text); }
};

TEST(PackageNeedsBoxes, TheQuestionsAnswersDecideTheRun) {
  const struct {
    const char* way;
    std::function<void(HWND)> answer;
    bool mapIntegrated, textureIntegrated;
  } cases[] = {{"Yes", [](HWND box) { PressKey(box, VK_RETURN); }, true, true},
               {"Esc", [](HWND box) { PressKey(box, VK_ESCAPE); }, true, false},
               {"close box", [](HWND box) { ::PostMessageA(box, WM_SYSCOMMAND, SC_CLOSE, 0); }, false, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.way);
    TGameFolder game;
    WritePackageCache(game);
    TRealQuestionView view;
    TGameToolLauncher launcher;
    TJobController commands(view.Seams(), [&game]() -> const TAppliedPrefs& { return game.Prefs; }, launcher);
    commands.tbOpenCacheClick();
    view.Rows[0].Ticked = true;  // DM-Pyramid
    TDialogDriver driver(c.answer);
    commands.tbCopySelectedClick();
    EXPECT_TRUE(driver.Acted());
    EXPECT_EQ(FileExists(game.Prefs.MapPath + "DM-Pyramid.ut2"), c.mapIntegrated);
    EXPECT_EQ(FileExists(game.Prefs.TexturePath + "PyramidTex.utx"), c.textureIntegrated);
  }
}

class PackageNeedsForm : public ::testing::Test {
protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&classes);
    WritePackageCache(game);
    form = std::make_unique<TMainForm>(
        ::GetModuleHandleA(nullptr),
        TMainFormServices{[this]() -> const TAppliedPrefs& { return game.Prefs; }, [](HWND) {}, &boxes});
    form->Show(SW_SHOWNORMAL);
    form->tbOpenCacheClick();
  }
  void Select(int row) {
    LVITEMA state{};
    state.stateMask = state.state = LVIS_FOCUSED | LVIS_SELECTED;
    ::SendMessageA(form->ListHandle(), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
  }

  TGameFolder game;
  TFakeMainView boxes;
  std::unique_ptr<TMainForm> form;
};

TEST_F(PackageNeedsForm, TheContextMenuTicksNeededPackages) {
  const HMENU menu = form->PopupMenu();
  char caption[64] = "";
  ::GetMenuStringA(menu, 1, caption, sizeof caption, MF_BYPOSITION);
  EXPECT_STREQ(caption, "Select &Needed Packages");
  ::GetMenuStringA(menu, 2, caption, sizeof caption, MF_BYPOSITION);
  EXPECT_STREQ(caption, "&Details...");

  form->SetRowTicked(0, true);  // DM-Pyramid
  ::SendMessageA(form->Handle(), WM_COMMAND, MAKEWPARAM(IDM_SELECTNEEDED1, 0), 0);
  int ticked = 0;
  for (int row = 0; row < form->RowCount(); ++row) ticked += form->RowTicked(row);
  EXPECT_EQ(ticked, 4);
  char status[128] = "";
  ::SendMessageA(form->StatusHandle(), SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(status));
  EXPECT_STREQ(status, "Ticked 3 needed packages.");
}

TEST_F(PackageNeedsForm, DetailsOpenFromTheMenuEnterAndDoubleClickAndCloseEveryWay) {
  HWND list = form->ListHandle();
  RECT label{LVIR_LABEL};
  const struct {
    const char* route;
    std::function<void()> open;
    std::function<void(HWND)> close;
  } cases[] = {
      {"menu", [&] { ::SendMessageA(form->Handle(), WM_COMMAND, MAKEWPARAM(IDM_DETAILS1, 0), 0); },
       [](HWND dialog) { PressKey(dialog, VK_ESCAPE); }},
      {"Enter", [&] { ::SetFocus(list); ::SendMessageA(form->Handle(), WM_COMMAND, MAKEWPARAM(IDOK, 0), 0); },
       [](HWND dialog) { PressKey(dialog, VK_RETURN); }},
      {"double click", [&] {
         ::SendMessageA(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&label));
         ::SendMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(label.left + 4, (label.top + label.bottom) / 2));
       },
       [](HWND dialog) { ::PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.route);
    Select(0);
    std::string title, text;
    TDialogDriver driver([&](HWND dialog) {
      title = WindowText(dialog);
      text = WindowText(::GetDlgItem(dialog, IDC_DETAILS_TEXT));
      EXPECT_EQ(::GetWindow(dialog, GW_OWNER), form->Handle());
      c.close(dialog);
    });
    c.open();
    EXPECT_TRUE(driver.Acted());
    EXPECT_EQ(title, "Package details");
    EXPECT_EQ(text.rfind("Package: DM-Pyramid.ut2\r\nCache key: ", 0), 0u) << text;
    EXPECT_NE(text.find(", matches the cache key\r\n"), std::string::npos) << text;
  }
}

}  // namespace
