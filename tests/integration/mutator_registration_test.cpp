// Registration of code packages against the stand-in for the game's tool.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

#include "integration/fake_main_view.h"
#include "integration/game_folder.h"
#include "integration/integration_texts.h"
#include "integration/mutator_registration.h"
#include "integration/stand_in_tool.h"

namespace {

using TBoxKind = TFakeMainView::TBoxKind;

class MutatorRegistration : public ::testing::Test {
protected:
  TGameFolder game;
  TFakeMainView view;
  TGameToolLauncher launcher;
  void SetUp() override { InstallStandInTool(game.Prefs.SystemPath); }
  void Put(const std::string& name) { WriteFileBytes(game.Prefs.SystemPath + name, "package"); }
  std::vector<std::string> Calls() const { return ToolCalls(game.Prefs.SystemPath); }
  std::string Call(const std::string& arguments) const { return ToolCall(game.Prefs.SystemPath, arguments); }
  void RegisterAll() {
    RegisterUninstalledMutators(game.Prefs, view, launcher, [] { return false; });
  }
};

TEST_F(MutatorRegistration, InstallStepFollowsTheTwoOptionsAndOnlyAYes) {
  const struct {
    const char* name;
    bool autoRegister, prompt;
    TModalResult answer;
    bool asks, runs;
  } cases[] = {
      {"registration off", false, true, TModalResult::Yes, false, false},
      {"registration off, no prompt", false, false, TModalResult::Yes, false, false},
      {"no prompt", true, false, TModalResult::No, false, true},
      {"prompt, Yes", true, true, TModalResult::Yes, true, true},
      {"prompt, No", true, true, TModalResult::No, true, false},
      {"prompt, closed box", true, true, TModalResult::None, true, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ::DeleteFileA((game.Prefs.SystemPath + "ucc-calls.log").c_str());
    view = TFakeMainView{};
    view.Answers = {c.answer};
    game.Prefs.AutoRegMutators = c.autoRegister;
    game.Prefs.PromptMutReg = c.prompt;

    InstallMutator("My Mutator.u", game.Prefs, view, launcher);

    EXPECT_EQ(view.Boxes.size(), c.asks ? 1u : 0u);
    if (c.asks) {
      EXPECT_EQ(view.Boxes[0].Kind, TBoxKind::Confirmation);
      EXPECT_EQ(view.Boxes[0].Text, "Do you wish to install the mutator:\r\n\r\nMy Mutator.u");
    }
    EXPECT_EQ(Calls(), c.runs ? std::vector<std::string>{Call("exportcache My Mutator.u")} : std::vector<std::string>{});
    EXPECT_EQ(view.StatusHistory,
              c.runs ? std::vector<std::string>{"Installing mutator My Mutator.u..."} : std::vector<std::string>{});
  }
}

TEST_F(MutatorRegistration, BulkCommandRunsTheToolForEachUnregisteredNonStockPackage) {
  for (const char* name : {"MyMutator.u", "With Spaces.u", "Core.u", "xgame_RC.u", "Core.bak.u", "Done.u", "Done.ucl",
                           "Notes.txt", "Other.ut2"})
    Put(name);
  MakeFolders(game.Prefs.SystemPath + "Folder.u");

  RegisterAll();

  std::vector<std::string> calls = Calls();
  std::sort(calls.begin(), calls.end());
  EXPECT_EQ(calls, (std::vector<std::string>{Call("exportcache Folder.u"), Call("exportcache MyMutator.u"),
                                              Call("exportcache With Spaces.u")}));
  ASSERT_EQ(view.Boxes.size(), 1u);
  EXPECT_EQ(view.Boxes[0].Kind, TBoxKind::AskWarning);
  EXPECT_EQ(view.Boxes[0].Text, IntegrationTexts::RegisterWarning);
  ASSERT_EQ(view.StatusHistory.size(), 4u);
  EXPECT_EQ(view.StatusHistory.back(), "Done!");
  EXPECT_TRUE(std::count(view.StatusHistory.begin(), view.StatusHistory.end(), "Registering mutator MyMutator.u..."));
}

TEST_F(MutatorRegistration, OnlyANoToTheWarningEndsTheBulkCommand) {
  const struct {
    TModalResult answer;
    bool runs;
  } cases[] = {{TModalResult::No, false}, {TModalResult::Yes, true}, {TModalResult::None, true}};
  for (const auto& c : cases) {
    ::DeleteFileA((game.Prefs.SystemPath + "ucc-calls.log").c_str());
    ::DeleteFileA((game.Prefs.SystemPath + "MyMutator.ucl").c_str());
    Put("MyMutator.u");
    view = TFakeMainView{};
    view.Answers = {c.answer};
    RegisterAll();
    EXPECT_EQ(Calls().size(), c.runs ? 1u : 0u);
    EXPECT_EQ(view.Status, c.runs ? "Done!" : "initial status");
  }
}

TEST_F(MutatorRegistration, BulkCommandWithoutPackagesOrToolJustReportsDone) {
  const struct {
    const char* name;
    std::string systemPath;
    bool withPackage;
  } cases[] = {
      {"no package", game.Prefs.SystemPath, false},
      {"missing System folder", game.Root + "NoSystem\\", false},
      {"no tool beside the package", game.Root + "Maps\\", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    view = TFakeMainView{};
    TAppliedPrefs prefs = game.Prefs;
    prefs.SystemPath = c.systemPath;
    if (c.withPackage) WriteFileBytes(c.systemPath + "Lonely.u", "package");
    RegisterUninstalledMutators(prefs, view, launcher, [] { return false; });
    EXPECT_EQ(view.Status, "Done!");
    EXPECT_TRUE(Calls().empty());
  }
}

TEST_F(MutatorRegistration, BulkCommandStopsBetweenPackagesWhenAsked) {
  Put("A.u");
  Put("B.u");
  int asked = 0;
  RegisterUninstalledMutators(game.Prefs, view, launcher, [&asked] { return ++asked >= 1; });
  EXPECT_EQ(Calls().size(), 1u);
  EXPECT_EQ(view.Status, "Done!");
}

}  // namespace
