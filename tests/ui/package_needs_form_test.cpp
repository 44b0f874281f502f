// What packages need, through the real windows: the question before a run answered in the
// program's own box, the context menu's items, and the details dialog by every way in and out.
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
    for (TListingRow& row : view.Rows) row.Ticked = row.Caption == "DM-Pyramid.ut2" || row.Caption == "DM-Many.ut2";
    std::string texts;
    TDialogDriver driver([&](HWND box) {
      for (const std::string& text : StaticTexts(box)) texts += text;
      c.answer(box);
    });
    commands.tbCopySelectedClick();
    // Twenty of the 28 packages in the order they were reached, then how many more.
    EXPECT_NE(texts.find("installed:\r\n\r\nPyramidTex.utx, needed by DM-Pyramid\r\nPyramidCode.u, needed by "
                         "DM-Pyramid\r\nMany0.utx, needed by DM-Many\r\n"),
              std::string::npos) << texts;
    EXPECT_NE(texts.find("Many17.utx, needed by DM-Many\r\nand 8 more\r\n\r\nWithout them"), std::string::npos);
    EXPECT_EQ(FileExists(game.Prefs.MapPath + "DM-Pyramid.ut2"), c.mapIntegrated);
    EXPECT_EQ(FileExists(game.Prefs.TexturePath + "PyramidTex.utx"), c.textureIntegrated);
    EXPECT_EQ(FileExists(game.Prefs.SoundPath + "PyramidSounds.uax"), c.textureIntegrated);  // one not listed
    EXPECT_EQ(view.Boxes.size(), c.mapIntegrated ? 1u : 0u);  // the run's own report
  }
}

TEST(PackageNeedsForm, TheMenuTicksNeededPackagesAndDetailsOpenAndCloseEveryWay) {
  INITCOMMONCONTROLSEX classes{sizeof classes, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
  ::InitCommonControlsEx(&classes);
  TGameFolder game;
  WritePackageCache(game);
  TFakeMainView boxes;
  TMainForm form(::GetModuleHandleA(nullptr), {[&game]() -> const TAppliedPrefs& { return game.Prefs; }, [](HWND) {}, &boxes});
  form.Show(SW_SHOWNORMAL);
  form.tbOpenCacheClick();
  char caption[64] = "";
  ::GetMenuStringA(form.PopupMenu(), IDM_SELECTNEEDED1, caption, sizeof caption, MF_BYCOMMAND);
  EXPECT_STREQ(caption, "Select &Needed Packages");
  form.SetRowTicked(0, true);  // DM-Pyramid, which needs row 1, PyramidTex
  ::SendMessageA(form.Handle(), WM_COMMAND, MAKEWPARAM(IDM_SELECTNEEDED1, 0), 0);
  EXPECT_TRUE(form.RowTicked(1));

  HWND list = form.ListHandle();
  LVITEMA selected{};
  selected.stateMask = selected.state = LVIS_FOCUSED | LVIS_SELECTED;
  ::SendMessageA(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&selected));
  RECT label{};
  label.left = LVIR_LABEL;
  ::SendMessageA(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&label));
  const struct {
    const char* route;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    std::function<void(HWND)> close;
    const char* package;
  } cases[] = {{"menu", WM_COMMAND, IDM_DETAILS1, 0, [](HWND dialog) { PressKey(dialog, VK_ESCAPE); }, "PyramidTex.utx"},
               {"Enter", WM_COMMAND, IDOK, 0, [](HWND dialog) { PressKey(dialog, VK_RETURN); }, "DM-Pyramid.ut2"},
               {"double click", WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(label.left + 4, (label.top + label.bottom) / 2),
                [](HWND dialog) { ::PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }, "DM-Pyramid.ut2"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.route);
    if (c.wParam == IDM_DETAILS1) {  // the menu is opened over the second row
      POINT at{label.left + 4, label.bottom + (label.bottom - label.top) / 2};
      ::ClientToScreen(list, &at);
      RunWhenIdle([] { ::EndMenu(); });
      ::SendMessageA(form.Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), MAKELPARAM(at.x, at.y));
    }
    ::SetFocus(list);
    std::string title, text;
    TDialogDriver driver([&](HWND dialog) {
      title = WindowText(dialog);
      text = WindowText(::GetDlgItem(dialog, IDC_DETAILS_TEXT));
      EXPECT_EQ(::GetWindow(dialog, GW_OWNER), form.Handle());
      c.close(dialog);
    });
    ::SendMessageA(c.message == WM_COMMAND ? form.Handle() : list, c.message, c.wParam, c.lParam);
    EXPECT_EQ(title, "Package details");
    EXPECT_EQ(text.rfind("Package: " + std::string(c.package) + "\r\nCache key: ", 0), 0u) << text;
  }
}

}  // namespace
