// The preferences dialog: its handlers against the in-memory store (no window), and the window
// itself driven from inside its modal loop.
#include "ui/pn_preferences.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <vector>

#include "core/exceptions.h"
#include "core/memory_prefs_store.h"
#include "job/job_texts.h"
#include "ui/resource.h"
#include "ui/window_driver.h"
#include "win/application.h"

namespace {

using namespace std::string_literals;

class TFakeHost : public IPrefsHost {
public:
  int OpenCacheCalls = 0;
  std::string Root;
  std::string RootAfterOpen;  // what Open cache leaves in the game root
  bool OpenCacheFails = false;
  void OpenCache() override {
    ++OpenCacheCalls;
    if (OpenCacheFails) throw Exception("Error opening file");
    Root = RootAfterOpen;
  }
  std::string GameRoot() const override { return Root; }
  std::string Cache;  // the found game's cache folder
  std::string GameCacheFolder() const override { return Cache; }
  std::vector<std::string> RelistedWithMaps;  // the applied Maps folder at each relisting
  void RelistPackages() override { RelistedWithMaps.push_back(PrefsForm->Applied().MapPath); }
  std::optional<TFoundGame> Found;  // where the search finds the game
  std::optional<TFoundGame> FindGame() const override { return Found; }
};

class TRecordedBoxes : public IMessageBoxes {
public:
  std::vector<std::string> Shown;
  void ShowWarning(const std::string& text) override { Shown.push_back(text); }
  TModalResult AskWarning(const std::string& text) override { return Shown.push_back(text), TModalResult::No; }
  TModalResult AskConfirmation(const std::string& text) override { return Shown.push_back(text), TModalResult::No; }
  void ShowInformation(const std::string& text) override { Shown.push_back(text); }
};

class TScriptedPicker : public IFolderPicker {
public:
  std::optional<std::string> Answer;
  int Calls = 0;
  HWND Owner = nullptr;
  std::optional<std::string> PickFolder(HWND owner) override {
    ++Calls;
    Owner = owner;
    return Answer;
  }
};

std::string StoredText(const TMemoryPrefsStore& store, const std::string& name) {
  const auto found = store.Values.find(name);
  if (found == store.Values.end()) return "(missing)";
  return std::string(found->second.Data.c_str());
}

uint32_t StoredNumber(const TMemoryPrefsStore& store, const std::string& name) {
  const std::string& bytes = store.Values.at(name).Data;
  uint32_t number = 0;
  for (size_t i = 0; i < 4 && i < bytes.size(); ++i) number |= uint32_t(uint8_t(bytes[i])) << (8 * i);
  return number;
}

// A store as an earlier Save leaves it.
void FillStore(TMemoryPrefsStore& store, const std::string& root, bool autoReg = true, bool prompt = true) {
  store.KeyExists = true;
  for (const TFolderPref& folder : FolderPrefs) store.PutString(folder.ValueName, root + folder.DefaultFolder);
  store.PutDWord("AutoRegMutators", autoReg ? 1 : 0);
  store.PutDWord("PromptMutReg", prompt ? 1 : 0);
}

struct PrefsFormTest : testing::Test {
  TMemoryPrefsStore store;
  TFakeHost host;
  TRecordedBoxes boxes;
  TScriptedPicker picker;
  TPrefsForm form{store, host, boxes, picker};
};

// ---- The handlers, without a window ----

TEST_F(PrefsFormTest, FirstRunStoresAppliesAndAnnouncesDefaultFolders) {
  EXPECT_EQ(PrefsForm, &form);
  host.RootAfterOpen = "C:\\UT2004\\";
  form.FormCreate();
  EXPECT_EQ(host.OpenCacheCalls, 1);
  for (const TFolderPref& folder : FolderPrefs) {
    EXPECT_EQ(StoredText(store, folder.ValueName), "C:\\UT2004\\"s + folder.DefaultFolder);
    EXPECT_EQ(form.Applied().*folder.Applied, "C:\\UT2004\\"s + folder.DefaultFolder);
  }
  EXPECT_EQ(StoredNumber(store, "AutoRegMutators"), 1u);
  EXPECT_EQ(StoredNumber(store, "PromptMutReg"), 1u);
  EXPECT_TRUE(form.Applied().AutoRegMutators && form.Applied().PromptMutReg);
  EXPECT_EQ(boxes.Shown, std::vector<std::string>{JobTexts::FirstRun});
  EXPECT_EQ(host.RelistedWithMaps, std::vector<std::string>{"C:\\UT2004\\Maps\\"}) << "once, with the defaults applied";

  // The next start loads what was stored and neither opens the cache nor shows a box.
  TFakeHost laterHost;
  TRecordedBoxes laterBoxes;
  TPrefsForm later(store, laterHost, laterBoxes, picker);
  later.FormCreate();
  EXPECT_EQ(laterHost.OpenCacheCalls, 0);
  EXPECT_TRUE(laterHost.RelistedWithMaps.empty());
  EXPECT_TRUE(laterBoxes.Shown.empty());
  EXPECT_EQ(later.Applied(), form.Applied());
}

TEST_F(PrefsFormTest, FirstRunWithoutAGameRootStoresBareFolderNames) {
  form.FormCreate();
  EXPECT_EQ(StoredText(store, "MeshPath"), "StaticMeshes\\");
  EXPECT_EQ(form.Applied().MeshPath, "StaticMeshes\\");
}

TEST_F(PrefsFormTest, FirstRunThatCannotStoreEndsWithTheErrorAndNothingApplied) {
  store.RefuseOpen = true;
  host.RootAfterOpen = "C:\\UT2004\\";
  try {
    form.FormCreate();
    FAIL() << "no error";
  } catch (const ERegistryException& error) {
    EXPECT_STREQ(error.what(), "Failed to set data for 'SystemPath'");
  }
  EXPECT_TRUE(boxes.Shown.empty());
  EXPECT_EQ(form.Applied(), TAppliedPrefs{});
  EXPECT_EQ(form.Editable().FolderTexts[0], "C:\\UT2004\\System\\") << "the defaults stay in the edits";
}

TEST_F(PrefsFormTest, CreateShowsAFailureInTheDefaultErrorBoxAndGoesOn) {
  Application.Title = "Pellorin v1.1";
  store.RefuseOpen = true;
  std::vector<std::string> errorTexts;
  std::string errorTitle;
  TDialogDriver driver([&](HWND box) {
    errorTitle = WindowText(box);
    errorTexts = StaticTexts(box);
    PressKey(box, VK_RETURN);
  });
  form.Create();
  ASSERT_TRUE(driver.Acted());
  EXPECT_EQ(errorTitle, "Pellorin v1.1");
  EXPECT_NE(std::find(errorTexts.begin(), errorTexts.end(), "Failed to set data for 'SystemPath'"), errorTexts.end());
}

// A later run's Open cache reads the cache folder set, looking for no game: Default paths does.
TEST_F(PrefsFormTest, DefaultPathsLeaveTheEditsWhenOpenCacheFailsAndFillTheGamesInALaterRun) {
  FillStore(store, "E:\\Game\\");
  form.FormCreate();
  host.OpenCacheFails = true;
  EXPECT_THROW(form.tbQuickPathClick(), Exception);
  EXPECT_EQ(form.Editable().FolderTexts[8], "E:\\Game\\Cache\\");
  host.OpenCacheFails = false;
  host.Found = TFoundGame{"G:\\UT2004\\", "H:\\Moved\\"};
  form.tbQuickPathClick();
  EXPECT_EQ(form.Editable().FolderTexts[0] + form.Editable().FolderTexts[8], "G:\\UT2004\\System\\H:\\Moved\\");
}

TEST_F(PrefsFormTest, SaveThatFailsKeepsTheTypedTextsAndAppliesNothing) {
  FillStore(store, "E:\\Game\\");
  form.FormCreate();
  store.RefusedWrites = {"MapPath"};
  form.EditChanged(1, "D:\\Maps");
  EXPECT_THROW(form.tbSaveClick(), ERegistryException);
  EXPECT_EQ(form.Editable().FolderTexts[1], "D:\\Maps");
  EXPECT_EQ(form.Applied().MapPath, "E:\\Game\\Maps\\");
}

TEST_F(PrefsFormTest, CancelRevertsToTheStoreOrKeepsTheTextsWithoutOne) {
  FillStore(store, "E:\\Game\\");
  form.FormCreate();
  form.EditChanged(0, "typed");
  form.AutoRegMutsClick(false);
  EXPECT_FALSE(form.Editable().PromptMutsEnabled());
  form.tbCancelClick();
  EXPECT_EQ(form.Editable().FolderTexts[0], "E:\\Game\\System\\");
  EXPECT_TRUE(form.Editable().RegMutsChecked());
  EXPECT_TRUE(form.Editable().PromptMutsEnabled());

  store.KeyExists = false;
  form.EditChanged(0, "typed");
  form.tbCancelClick();
  EXPECT_EQ(form.Editable().FolderTexts[0], "typed");
  EXPECT_EQ(form.Applied().SystemPath, "E:\\Game\\System\\");
}

struct TPickCase {
  std::optional<std::string> Answer;
  std::string Expected;
};

TEST_F(PrefsFormTest, PickedFolderReplacesOnlyTheClickedEdit) {
  const TPickCase cases[] = {{"D:\\", "D:\\"}, {""s, ""}, {"C:\\Games", "C:\\Games"}, {std::nullopt, "C:\\Games"}};
  for (const TPickCase& c : cases) {
    picker.Answer = c.Answer;
    form.PathButtonClick(3);
    EXPECT_EQ(form.Editable().FolderTexts[3], c.Expected);
    EXPECT_EQ(form.Editable().FolderTexts[2], "");
  }
  EXPECT_EQ(picker.Calls, 4);
}

// ---- The window ----

RECT ClientRectOf(HWND dialog, int id) {
  RECT rect;
  ::GetWindowRect(::GetDlgItem(dialog, id), &rect);
  ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

int CaptionWidth(HWND control) {
  const std::string caption = WindowText(control);
  HDC dc = ::GetDC(control);
  const HGDIOBJ former = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageA(control, WM_GETFONT, 0, 0)));
  SIZE size{};
  ::GetTextExtentPoint32A(dc, caption.c_str(), static_cast<int>(caption.size()), &size);
  ::SelectObject(dc, former);
  ::ReleaseDC(control, dc);
  return size.cx;
}

void ExpectPlace(HWND dialog, int id, int left, int top, int width, int height = -1) {
  const RECT rect = ClientRectOf(dialog, id);
  EXPECT_EQ(rect.left, left) << "control " << id;
  EXPECT_EQ(rect.top, top) << "control " << id;
  EXPECT_EQ(rect.right - rect.left, width) << "control " << id;
  if (height >= 0) {
    EXPECT_EQ(rect.bottom - rect.top, height) << "control " << id;
  }
}

void Click(HWND dialog, int id) { ::SendMessageA(::GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

TEST_F(PrefsFormTest, WindowFrameControlsAndTabOrder) {
  FillStore(store, "C:\\UT2004\\");
  form.FormCreate();
  bool acted = false;
  TDialogDriver driver([&](HWND dialog) {
    acted = true;
    EXPECT_EQ(WindowText(dialog), "Preferences");
    RECT client;
    ::GetClientRect(dialog, &client);
    EXPECT_EQ(client.right, 463);
    EXPECT_EQ(client.bottom, 409);
    const LONG style = ::GetWindowLongA(dialog, GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    LOGFONTA font{};
    ::GetObjectA(reinterpret_cast<HFONT>(::SendMessageA(dialog, WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_STREQ(font.lfFaceName, "MS Sans Serif");

    ExpectPlace(dialog, IDC_PREFS_PATHS_PANEL, 8, 8, 449, 265);
    ExpectPlace(dialog, IDC_PREFS_OPTIONS_PANEL, 8, 280, 449, 89);
    const char* labels[] = {"System", "Maps", "Textures", "Sounds", "Music", "Meshes", "Animations", "Karma data", "Cache"};
    for (int row = 0; row < 9; ++row) {
      ExpectPlace(dialog, IDC_PREFS_EDIT_FIRST + row, 88, 40 + 24 * row, 361, 21);
      EXPECT_EQ(ClientRectOf(dialog, IDC_PREFS_LABEL_FIRST + row).left, 16);
      EXPECT_EQ(WindowText(::GetDlgItem(dialog, IDC_PREFS_LABEL_FIRST + row)), labels[row]);
      // The folder button is what a click at its place reaches, not the edit beneath.
      const RECT button = ClientRectOf(dialog, IDC_PREFS_BROWSE_FIRST + row);
      const POINT centre{(button.left + button.right) / 2, (button.top + button.bottom) / 2};
      EXPECT_EQ(::ChildWindowFromPoint(dialog, centre), ::GetDlgItem(dialog, IDC_PREFS_BROWSE_FIRST + row));
      EXPECT_EQ(WindowText(::GetDlgItem(dialog, IDC_PREFS_EDIT_FIRST + row)), "C:\\UT2004\\"s + FolderPrefs[row].DefaultFolder);
    }
    // The check boxes keep their places and widths, and grow only where the font in use would cut
    // their captions.
    for (const auto& [id, left, top, width] : {std::array{IDC_CBREGMUTS, 16, 312, 193}, std::array{IDC_CBPROMPTMUTS, 33, 329, 233}}) {
      const RECT rect = ClientRectOf(dialog, id);
      EXPECT_EQ(rect.left, left) << "control " << id;
      EXPECT_EQ(rect.top, top) << "control " << id;
      EXPECT_GE(rect.right - rect.left, width) << "control " << id;
      EXPECT_GE(rect.right - rect.left, CaptionWidth(::GetDlgItem(dialog, id)) + ::GetSystemMetrics(SM_CXMENUCHECK))
          << "control " << id;
    }
    ExpectPlace(dialog, IDC_TBQUICKPATH, 8, 376, 113);
    EXPECT_EQ(ClientRectOf(dialog, IDC_TBSAVE).left, 302);
    EXPECT_EQ(ClientRectOf(dialog, IDC_TBCANCEL).left, 382);
    EXPECT_EQ(ClientRectOf(dialog, IDC_TBSAVE).top, 376);
    EXPECT_EQ(ClientRectOf(dialog, IDC_TBCANCEL).top, 376);
    EXPECT_EQ(WindowText(::GetDlgItem(dialog, IDC_CBREGMUTS)), "Automatically register mutators");
    EXPECT_EQ(WindowText(::GetDlgItem(dialog, IDC_CBPROMPTMUTS)), "Prompt before registering");
    EXPECT_EQ(WindowText(::GetDlgItem(dialog, IDC_TBQUICKPATH)), "&Default paths");
    EXPECT_EQ(WindowText(::GetDlgItem(dialog, IDC_TBSAVE)), "&Save");
    EXPECT_EQ(WindowText(::GetDlgItem(dialog, IDC_TBCANCEL)), "&Cancel");
    for (int id : {IDC_TBQUICKPATH, IDC_TBSAVE, IDC_TBCANCEL})
      EXPECT_FALSE(::GetWindowLongA(::GetDlgItem(dialog, id), GWL_STYLE) & BS_DEFPUSHBUTTON) << id;

    std::vector<int> expectedOrder;
    for (int row = 0; row < 9; ++row) expectedOrder.push_back(IDC_PREFS_EDIT_FIRST + row);
    expectedOrder.insert(expectedOrder.end(), {IDC_CBREGMUTS, IDC_CBPROMPTMUTS, IDC_TBCANCEL, IDC_TBSAVE, IDC_TBQUICKPATH});
    std::vector<int> order;
    HWND item = ::GetDlgItem(dialog, IDC_TESYSTEM);
    for (size_t i = 0; i < expectedOrder.size(); ++i, item = ::GetNextDlgTabItem(dialog, item, FALSE))
      order.push_back(::GetDlgCtrlID(item));
    EXPECT_EQ(order, expectedOrder);
    EXPECT_EQ(::GetDlgCtrlID(item), IDC_TESYSTEM) << "the order wraps round";

    if (const char* path = std::getenv("PELLORIN_SCREENSHOT_BMP")) SaveScreenshot(dialog, path);
    ::PostMessageA(dialog, WM_CLOSE, 0, 0);
  });
  form.ShowModal(nullptr);
  EXPECT_TRUE(acted);
  EXPECT_EQ(form.Handle(), nullptr);
}

TEST_F(PrefsFormTest, EnterAndEscCloseNothingTheCloseBoxNeitherSavesNorReverts) {
  FillStore(store, "C:\\UT2004\\");
  form.FormCreate();
  const TAppliedPrefs appliedBefore = form.Applied();
  bool stillOpen = false;
  TDialogDriver driver([&](HWND dialog) {
    ::SetDlgItemTextA(dialog, IDC_TEMAPS, "E:\\Maps");  // as typing does
    ::SetFocus(::GetDlgItem(dialog, IDC_TEMAPS));
    PressKey(dialog, VK_RETURN);
    PressKey(dialog, VK_ESCAPE);
    RunWhenIdle([&, dialog] {
      stillOpen = ::IsWindowVisible(dialog);
      ::PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    });
  });
  form.ShowModal(nullptr);
  EXPECT_TRUE(stillOpen);
  EXPECT_EQ(form.Applied(), appliedBefore);
  EXPECT_EQ(StoredText(store, "MapPath"), "C:\\UT2004\\Maps\\");

  std::string shownNextTime;
  TDialogDriver again([&](HWND dialog) {
    shownNextTime = WindowText(::GetDlgItem(dialog, IDC_TEMAPS));
    ::PostMessageA(dialog, WM_CLOSE, 0, 0);
  });
  form.ShowModal(nullptr);
  EXPECT_EQ(shownNextTime, "E:\\Maps");
}

TEST_F(PrefsFormTest, CheckBoxRuleByClickingAndCancelRestoresIt) {
  FillStore(store, "C:\\UT2004\\");
  form.FormCreate();
  bool promptEnabledAfterUncheck = true;
  bool promptCheckedAfterUncheck = false;
  TDialogDriver driver([&](HWND dialog) {
    Click(dialog, IDC_CBREGMUTS);
    promptEnabledAfterUncheck = ::IsWindowEnabled(::GetDlgItem(dialog, IDC_CBPROMPTMUTS));
    promptCheckedAfterUncheck = ::IsDlgButtonChecked(dialog, IDC_CBPROMPTMUTS) == BST_CHECKED;
    Click(dialog, IDC_TBCANCEL);
  });
  form.ShowModal(nullptr);
  EXPECT_FALSE(promptEnabledAfterUncheck);
  EXPECT_TRUE(promptCheckedAfterUncheck) << "a disabled prompt option keeps its tick";
  EXPECT_TRUE(form.Editable().RegMutsChecked());
  EXPECT_TRUE(form.Editable().PromptMutsEnabled());

  bool shownChecked = false, shownEnabled = false;
  TDialogDriver again([&](HWND dialog) {
    shownChecked = ::IsDlgButtonChecked(dialog, IDC_CBREGMUTS) == BST_CHECKED;
    shownEnabled = ::IsWindowEnabled(::GetDlgItem(dialog, IDC_CBPROMPTMUTS));
    ::PostMessageA(dialog, WM_CLOSE, 0, 0);
  });
  form.ShowModal(nullptr);
  EXPECT_TRUE(shownChecked);
  EXPECT_TRUE(shownEnabled);
}

TEST_F(PrefsFormTest, SaveButtonStoresAndCloses) {
  FillStore(store, "C:\\UT2004\\", true, true);
  form.FormCreate();
  TDialogDriver driver([&](HWND dialog) {
    ::SetDlgItemTextA(dialog, IDC_TECACHE, "D:\\Cache");
    Click(dialog, IDC_CBPROMPTMUTS);
    Click(dialog, IDC_TBSAVE);
  });
  form.ShowModal(nullptr);
  EXPECT_EQ(StoredText(store, "CachePath"), "D:\\Cache");
  EXPECT_EQ(StoredNumber(store, "PromptMutReg"), 0u);
  EXPECT_EQ(form.Applied().CachePath, "D:\\Cache\\");
  EXPECT_FALSE(form.Applied().PromptMutReg);
  EXPECT_EQ(host.RelistedWithMaps, std::vector<std::string>{"C:\\UT2004\\Maps\\"}) << "listed in the folders saved";
}

TEST_F(PrefsFormTest, FailingSaveShowsTheErrorAndKeepsTheDialogOpen) {
  Application.Title = "Pellorin v1.1";
  FillStore(store, "C:\\UT2004\\");
  form.FormCreate();
  store.RefusedWrites = {"SystemPath"};
  std::vector<std::string> errorTexts;
  bool openAfterError = false;
  TDialogDriver driver([&](HWND dialog) {
    TDialogDriver errorBox([&](HWND box) {
      errorTexts = StaticTexts(box);
      PressKey(box, VK_RETURN);
    });
    Click(dialog, IDC_TBSAVE);
    openAfterError = ::IsWindowVisible(dialog) && errorBox.Acted();
    ::PostMessageA(dialog, WM_CLOSE, 0, 0);
  });
  form.ShowModal(nullptr);
  EXPECT_TRUE(openAfterError);
  EXPECT_NE(std::find(errorTexts.begin(), errorTexts.end(), "Failed to set data for 'SystemPath'"), errorTexts.end());
}

TEST_F(PrefsFormTest, DefaultPathsButtonAndF4FillTheEdits) {
  host.RootAfterOpen = "G:\\UT2004\\";
  host.Cache = "H:\\Moved\\";
  picker.Answer = "D:\\";
  std::string meshes, karma, cache;
  HWND dialogSeen = nullptr;
  TDialogDriver driver([&](HWND dialog) {
    dialogSeen = dialog;
    Click(dialog, IDC_TBQUICKPATH);
    meshes = WindowText(::GetDlgItem(dialog, IDC_TEMESHES));
    cache = WindowText(::GetDlgItem(dialog, IDC_TECACHE));
    ::SetFocus(::GetDlgItem(dialog, IDC_TEKARMA));
    PressKey(dialog, VK_F4);
    RunWhenIdle([&, dialog] {
      karma = WindowText(::GetDlgItem(dialog, IDC_TEKARMA));
      ::PostMessageA(dialog, WM_CLOSE, 0, 0);
    });
  });
  form.ShowModal(nullptr);
  EXPECT_EQ(host.OpenCacheCalls, 1);
  EXPECT_EQ(meshes, "G:\\UT2004\\StaticMeshes\\");
  EXPECT_EQ(cache, "H:\\Moved\\");  // the found game's, wherever its settings put it
  EXPECT_EQ(karma, "D:\\");
  EXPECT_EQ(picker.Calls, 1);
  EXPECT_EQ(picker.Owner, dialogSeen);
  EXPECT_EQ(form.Applied(), TAppliedPrefs{}) << "nothing applied";
}

TEST_F(PrefsFormTest, FirstShowingCentredOverTheOwnerLaterWhereItWasLeft) {
  HWND owner = ::CreateWindowExA(0, "STATIC", "Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 60, 528, 377, nullptr,
                                 nullptr, nullptr, nullptr);
  ASSERT_NE(owner, nullptr);
  RECT first{}, second{};
  bool ownerDisabled = false;
  TDialogDriver driver([&](HWND dialog) {
    ::GetWindowRect(dialog, &first);
    ownerDisabled = !::IsWindowEnabled(owner);
    ::SetWindowPos(dialog, nullptr, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ::PostMessageA(dialog, WM_CLOSE, 0, 0);
  });
  form.ShowModal(owner);
  TDialogDriver again([&](HWND dialog) {
    ::GetWindowRect(dialog, &second);
    ::PostMessageA(dialog, WM_CLOSE, 0, 0);
  });
  form.ShowModal(owner);
  RECT ownerFrame;
  ::GetWindowRect(owner, &ownerFrame);
  EXPECT_TRUE(ownerDisabled);
  EXPECT_NEAR((first.left + first.right) / 2, (ownerFrame.left + ownerFrame.right) / 2, 1);
  EXPECT_GE(first.top, ownerFrame.top) << "taller than the owner: its top stays on the owner";
  EXPECT_EQ(second.left, 300);
  EXPECT_EQ(second.top, 200);
  ::DestroyWindow(owner);
}

}  // namespace
