// The main window's commands without a window: commands refused during a long operation, and a
// close request that waits for it, on a real game folder with the stand-in for the game's tool.
#include <gtest/gtest.h>

#include "job/export_run.h"
#include "job/install_files_run.h"
#include "job/job_controller.h"
#include "job/job_texts.h"
#include "job/main_job_fixture.h"

namespace {

class JobController : public ::testing::Test {
protected:
  TGameFolder game;
  TFakeMainView view;
  TGameToolLauncher launcher;
  TJobController commands{view.Seams(), [this]() -> const TAppliedPrefs& { return game.Prefs; }, launcher};
  int closes = 0;
  bool closedAtOnce = true;

  void SetUp() override { commands.OnCloseReady = [this] { ++closes; }; }
  void OpenAndTickAll(const std::vector<std::string>& lines) {
    WriteFileBytes(game.Index(), TGameFolder::Joined(lines));
    commands.tbOpenCacheClick();
    commands.SelectAll1Click();
    view.Boxes.clear();
  }
  std::string Integrate() { return ErrorOf([this] { commands.tbCopySelectedClick(); }); }
  // Holds the tool running; a message posted as it starts brings the close request through the
  // launcher's wait.
  void CloseWhileTheToolRuns() {
    WriteFileBytes(game.Prefs.SystemPath + "ucc-wait", "");
    view.OnStatusText = [](const std::string& text) {
      if (text.find(" mutator ") != std::string::npos) ::PostThreadMessageA(::GetCurrentThreadId(), WM_APP, 0, 0);
    };
    launcher.ProcessMessages = [this] {
      MSG message;
      while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&message);
      closedAtOnce = commands.RequestClose();
    };
  }
  // Lets a held tool end; the tool itself reports when it has.
  std::vector<std::string> ReleaseTheTool() {
    ::DeleteFileA((game.Prefs.SystemPath + "ucc-wait").c_str());
    for (int round = 0; round < 1000 && game.ToolCalls().empty(); ++round) ::Sleep(10);
    return game.ToolCalls();
  }
};

// The run integrates what was ticked when it started: its plan looked at those targets only.
TEST_F(JobController, CommandsChosenDuringARunAreRefusedAndTicksWaitForTheNextRun) {
  OpenAndTickAll({Header, game.Entry(1, "A.utx", "a"), game.Entry(2, "B.utx", "b")});
  view.Rows[1].Ticked = false;
  bool busy = false, preferences = true;
  std::string note;
  view.OnPendingMessages = [&] {
    busy = commands.Busy();
    commands.SelectAll1Click();
    commands.tbOpenCacheClick();  // would drop the ticks
    commands.tbCopySelectedClick();
    commands.tbRegisterUninstalledClick();
    preferences = commands.CanShowPreferences();
    note = view.Status;
  };
  EXPECT_EQ(Integrate(), "");
  EXPECT_TRUE(busy);
  EXPECT_FALSE(preferences || commands.Busy() || !commands.CanShowPreferences());
  EXPECT_EQ(note, JobTexts::BusyRefusal);
  EXPECT_FALSE(FileExists(game.Prefs.TexturePath + "B.utx"));  // ticked during the run
  EXPECT_EQ(view.Captions(), std::vector<std::string>{"B.utx"});
  EXPECT_EQ(view.Boxes.back(), std::string("info: ") + JobTexts::RunSucceeded);
  EXPECT_EQ(view.Status, "Done!");

  // A run that fails after a refusal shows its own last step again.
  OpenAndTickAll({Header, game.Entry(3, "C.utx", "c")});
  commands.CopyIo.Write = [](HANDLE, const void*, DWORD) { return false; };
  EXPECT_EQ(Integrate(), "Error writing output file");
  EXPECT_EQ(view.Status, "Copying C.utx...");
}

TEST_F(JobController, CloseDuringACopyFinishesTheFileAndStartsNothingMore) {
  EXPECT_TRUE(commands.RequestClose());
  game.Prefs.AutoRegMutators = true;
  const std::string second = game.Entry(2, "B.utx", "b");
  OpenAndTickAll({Header, game.Entry(1, "A.u", PayloadBytes(70000, 1)), second});
  view.OnPendingMessages = [this] { closedAtOnce = commands.RequestClose(); };
  EXPECT_EQ(Integrate(), "");
  EXPECT_FALSE(closedAtOnce);
  EXPECT_EQ(closes, 1);
  EXPECT_EQ(ReadFileBytes(game.Prefs.SystemPath + "A.u"), PayloadBytes(70000, 1));
  EXPECT_TRUE(game.ToolCalls().empty());  // the closing window registers nothing
  EXPECT_EQ(ReadFileBytes(game.Index()), TGameFolder::Joined({Header, second}));
  EXPECT_TRUE(view.Boxes.empty());
}

TEST_F(JobController, CloseDuringTheToolRunLeavesTheToolRunningAndSavesTheIndex) {
  game.Prefs.AutoRegMutators = true;
  const std::string later = game.Entry(2, "Later.utx", "later");
  OpenAndTickAll({Header, game.Entry(1, "Held.u", "code"), later});
  CloseWhileTheToolRuns();
  EXPECT_EQ(Integrate(), "");
  EXPECT_EQ(closes, 1);
  EXPECT_FALSE(closedAtOnce || launcher.Running());
  EXPECT_EQ(ReadFileBytes(game.Index()), TGameFolder::Joined({Header, later}));
  EXPECT_TRUE(game.ToolCalls().empty());  // still held
  EXPECT_EQ(ReleaseTheTool(), std::vector<std::string>{game.ToolCall("exportcache Held.u")});
}

TEST_F(JobController, CloseDuringTheBulkRegistrationStopsAfterThePackageInHand) {
  WriteFileBytes(game.Prefs.SystemPath + "One.u", "code");
  WriteFileBytes(game.Prefs.SystemPath + "Two.u", "code");
  CloseWhileTheToolRuns();
  commands.tbRegisterUninstalledClick();
  EXPECT_EQ(closes, 1);
  EXPECT_EQ(view.Status, "Done!");
  EXPECT_EQ(ReleaseTheTool().size(), 1u);
}

// Export and install run under the same guard: other commands are refused, and a close waits for
// the package in hand and starts nothing more.
TEST_F(JobController, ExportAndInstallAreGuardedAndEndEarlyForAClose) {
  struct TScripted : IExportDialog, IPackageFilePicker {
    TExportChoice Choice;
    std::vector<std::string> Files;
    std::optional<TExportChoice> ChooseExport() override { return Choice; }
    std::optional<std::vector<std::string>> PickPackageFiles(const std::string&, const std::string&) override { return Files; }
  } scripted;
  const std::vector<std::string> lines{Header, game.Entry(1, "A.utx", PayloadBytes(70000, 1)), game.Entry(2, "B.utx", "b")};
  OpenAndTickAll(lines);
  scripted.Choice = {TExportForm::GameLayout, game.Temp.Sub("Out")};
  const std::string downloads = game.Temp.Sub("Downloads\\", true);
  scripted.Files = {downloads + "A.utx", downloads + "B2.utx"};
  WriteFileBytes(scripted.Files[0], PayloadBytes(70000, 2));
  WriteFileBytes(scripted.Files[1], "b2");
  std::string note;
  view.OnPendingMessages = [&] {
    commands.tbCopySelectedClick();
    note = view.Status;
    closedAtOnce = commands.RequestClose();
  };
  commands.Export1Click(scripted);
  EXPECT_EQ(note, JobTexts::BusyRefusal);
  EXPECT_EQ(ReadFileBytes(game.Temp.Sub("Out\\Textures\\A.utx")), PayloadBytes(70000, 1));
  EXPECT_FALSE(FileExists(game.Temp.Sub("Out\\Textures\\B.utx")));
  commands.InstallFiles1Click(scripted);
  EXPECT_EQ(ReadFileBytes(game.Prefs.TexturePath + "A.utx"), PayloadBytes(70000, 2));
  EXPECT_FALSE(FileExists(game.Prefs.TexturePath + "B2.utx"));
  EXPECT_EQ(view.Rows.at(0).ImageIndex, 1) << "listed as installed now";
  EXPECT_TRUE(view.Rows.at(0).Ticked) << "and ticked as before";
  EXPECT_FALSE(closedAtOnce);
  EXPECT_EQ(closes, 2);
  EXPECT_TRUE(view.Boxes.empty());
  EXPECT_EQ(ReadFileBytes(game.Index()), TGameFolder::Joined(lines)) << "the cache only read";
}

}  // namespace
