// The main window's commands without a window: the guard around long operations and the close
// request, on a real game folder under Wine with the stand-in for the game's tool.
#include <gtest/gtest.h>

#include <windows.h>

#include "framework/exceptions.h"
#include "integration/fake_main_view.h"
#include "integration/game_folder.h"
#include "integration/integration_texts.h"
#include "integration/stand_in_tool.h"
#include "ui/main_commands.h"

namespace {

using TBoxKind = TFakeMainView::TBoxKind;
const std::string Header = "[Cache]";

class MainCommands : public ::testing::Test {
protected:
  TGameFolder game;
  TFakeMainView view;
  TGameToolLauncher launcher;
  TMainCommands commands{view, [this]() -> const TAppliedPrefs& { return game.Prefs; }, launcher};
  int closeCalls = 0;

  void SetUp() override {
    commands.InstallRecordKey = "SOFTWARE\\Morvane\\PellorinTests\\NoSuchRecord";
    commands.OnCloseReady = [this] { ++closeCalls; };
    InstallStandInTool(game.Prefs.SystemPath);
  }
  void OpenAndTickAll(const std::vector<std::string>& lines) {
    game.WriteIndex(lines);
    commands.tbOpenCacheClick();
    commands.SelectAll1Click();
    view.Boxes.clear();
    view.StatusHistory.clear();
  }
  std::string Integrate() {
    try {
      commands.tbCopySelectedClick();
    } catch (const Exception& error) {
      return error.what();
    }
    return "";
  }
};

TEST_F(MainCommands, SelectAllTicksEveryRowAndNothingOnAnEmptyList) {
  commands.SelectAll1Click();
  EXPECT_TRUE(view.Rows.empty());
  game.WriteIndex({Header, game.Entry(1, "A.utx", "a"), game.Entry(2, "B.utx", "b")});
  commands.tbOpenCacheClick();
  view.Rows[0].Ticked = true;
  commands.SelectAll1Click();
  EXPECT_TRUE(view.Rows[0].Ticked && view.Rows[1].Ticked);
}

TEST_F(MainCommands, CommandsChosenDuringARunAreRefusedAndTheRunGoesOn) {
  OpenAndTickAll({Header, game.Entry(1, "A.utx", "a"), game.Entry(2, "B.utx", "b"), game.Entry(3, "C.utx", "c")});
  view.Rows[2].Ticked = false;
  bool busySeen = false, preferencesAllowed = true;
  std::string statusAfterRefusals;
  view.OnPendingMessages = [&] {
    if (busySeen) return;
    busySeen = commands.Busy();
    commands.tbOpenCacheClick();
    commands.tbCopySelectedClick();
    commands.tbRegisterUninstalledClick();
    preferencesAllowed = commands.CanShowPreferences();
    commands.SelectAll1Click();  // ticking stays possible: row C joins the run
    statusAfterRefusals = view.Status;
  };

  EXPECT_EQ(Integrate(), "");

  EXPECT_TRUE(busySeen);
  EXPECT_FALSE(preferencesAllowed);
  EXPECT_EQ(statusAfterRefusals, IntegrationTexts::BusyRefusal);
  EXPECT_FALSE(commands.Busy());
  EXPECT_TRUE(commands.CanShowPreferences());
  EXPECT_EQ(view.DialogRequests.size(), 0u);
  EXPECT_EQ(view.BoxTexts(), (std::vector<std::string>{"The cache is empty.", IntegrationTexts::RunSucceeded}));
  EXPECT_EQ(ReadFileBytes(game.IndexPath()), TGameFolder::Joined({Header}));
  EXPECT_EQ(ReadFileBytes(game.Prefs.TexturePath + "C.utx"), "c");
  EXPECT_EQ(view.Status, "Done!");
}

TEST_F(MainCommands, RunThatFailsAfterARefusalShowsItsOwnStatusAgain) {
  OpenAndTickAll({Header, game.Entry(1, "A.utx", PayloadBytes(50000, 1))});
  commands.CopyIo.Write = [](HANDLE, const void*, DWORD) { return false; };
  view.OnPendingMessages = [&] { commands.tbOpenCacheClick(); };
  EXPECT_EQ(Integrate(), "Error writing output file");
  EXPECT_EQ(view.Status, "Copying A.utx...");
  EXPECT_FALSE(commands.Busy());
}

TEST_F(MainCommands, CloseWhenIdleIsAtOnce) {
  EXPECT_TRUE(commands.RequestClose());
  EXPECT_EQ(closeCalls, 0);
}

TEST_F(MainCommands, CloseDuringACopyFinishesTheFileSavesTheIndexAndThenCloses) {
  game.Prefs.AutoRegMutators = true;  // but the closing window starts no tool
  const std::string second = game.Entry(2, "B.utx", "b");
  OpenAndTickAll({Header, game.Entry(1, "A.u", PayloadBytes(70000, 1)), second});
  bool closeAtOnce = true;
  view.OnPendingMessages = [&] {
    if (view.PendingMessageCalls == 1) closeAtOnce = commands.RequestClose();
  };

  EXPECT_EQ(Integrate(), "");

  EXPECT_FALSE(closeAtOnce);
  EXPECT_EQ(closeCalls, 1);
  EXPECT_EQ(ReadFileBytes(game.Prefs.SystemPath + "A.u"), PayloadBytes(70000, 1));
  EXPECT_TRUE(ToolCalls(game.Prefs.SystemPath).empty());
  EXPECT_EQ(ReadFileBytes(game.IndexPath()), TGameFolder::Joined({Header, second}));
  EXPECT_FALSE(FileExists(game.Prefs.TexturePath + "B.utx"));
  EXPECT_TRUE(view.Boxes.empty());
  EXPECT_FALSE(commands.Busy());
}

// The tool is held running; the close request arrives through the launcher's wait.
class MainCommandsWithHeldTool : public MainCommands {
protected:
  void SetUp() override {
    MainCommands::SetUp();
    WriteFileBytes(HoldFile(), "");
    launcher.ProcessMessages = [this] {
      MSG message;
      while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&message);
      closeAtOnce = commands.RequestClose();
    };
    // A posted message wakes the launcher's wait once the tool has started.
    view.OnStatusText = [](const std::string& text) {
      if (text.rfind("Installing", 0) == 0 || text.rfind("Registering", 0) == 0)
        ::PostThreadMessageA(::GetCurrentThreadId(), WM_APP, 0, 0);
    };
  }
  void TearDown() override {
    ::DeleteFileA(HoldFile().c_str());
    // Let the tool end before the folder goes.
    for (int i = 0; i < 500 && ToolCalls(game.Prefs.SystemPath).empty(); ++i) ::Sleep(20);
  }
  std::string HoldFile() const { return game.Prefs.SystemPath + "ucc-wait"; }
  bool closeAtOnce = true;
};

TEST_F(MainCommandsWithHeldTool, CloseDuringTheIntegrationToolRunLeavesTheToolAndSavesTheIndex) {
  game.Prefs.AutoRegMutators = true;
  const std::string later = game.Entry(2, "Later.utx", "later");
  OpenAndTickAll({Header, game.Entry(1, "Held.u", "code"), later});

  EXPECT_EQ(Integrate(), "");

  EXPECT_FALSE(closeAtOnce);
  EXPECT_EQ(closeCalls, 1);
  EXPECT_FALSE(launcher.Running());
  EXPECT_EQ(ReadFileBytes(game.Prefs.SystemPath + "Held.u"), "code");
  EXPECT_EQ(ReadFileBytes(game.IndexPath()), TGameFolder::Joined({Header, later}));
  EXPECT_TRUE(ToolCalls(game.Prefs.SystemPath).empty());  // still held, not ended

  ::DeleteFileA(HoldFile().c_str());
  for (int i = 0; i < 500 && ToolCalls(game.Prefs.SystemPath).empty(); ++i) ::Sleep(20);
  EXPECT_EQ(ToolCalls(game.Prefs.SystemPath), std::vector<std::string>{ToolCall(game.Prefs.SystemPath, "exportcache Held.u")});
}

TEST_F(MainCommandsWithHeldTool, CloseDuringTheBulkRegistrationStopsAfterThePackageInHand) {
  WriteFileBytes(game.Prefs.SystemPath + "One.u", "code");
  WriteFileBytes(game.Prefs.SystemPath + "Two.u", "code");

  commands.tbRegisterUninstalledClick();

  EXPECT_FALSE(closeAtOnce);
  EXPECT_EQ(closeCalls, 1);
  EXPECT_EQ(view.Status, "Done!");
  ::DeleteFileA(HoldFile().c_str());
  for (int i = 0; i < 500 && ToolCalls(game.Prefs.SystemPath).empty(); ++i) ::Sleep(20);
  EXPECT_EQ(ToolCalls(game.Prefs.SystemPath).size(), 1u);
}

}  // namespace
