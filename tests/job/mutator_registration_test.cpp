// Registration of code packages against the stand-in for the game's tool.
#include <gtest/gtest.h>

#include "job/job_texts.h"
#include "job/main_job_fixture.h"

namespace {

class MutatorRegistration : public ::testing::Test {
protected:
  TGameFolder game;
  TFakeMainView view;
  TGameToolLauncher launcher;
  void Put(const std::string& name) { WriteFileBytes(game.Prefs.SystemPath + name, "package"); }
  void Reset(TModalResult answer) {
    ::DeleteFileA((game.Prefs.SystemPath + "ucc-calls.log").c_str());
    view = TFakeMainView{};
    view.Answers = {answer};
  }
};

TEST_F(MutatorRegistration, InstallStepFollowsTheTwoOptionsAndOnlyAYes) {
  const struct {
    bool autoRegister, prompt;
    TModalResult answer;
    bool runs;
  } cases[] = {{false, true, TModalResult::Yes, false}, {true, false, TModalResult::No, true},
               {true, true, TModalResult::Yes, true},   {true, true, TModalResult::No, false},
               {true, true, TModalResult::None, false}};
  for (const auto& c : cases) {
    Reset(c.answer);
    game.Prefs.AutoRegMutators = c.autoRegister;
    game.Prefs.PromptMutReg = c.prompt;
    InstallMutator("My Mutator.u", game.Prefs, view, view, launcher);
    const bool asks = c.autoRegister && c.prompt;
    EXPECT_EQ(view.Boxes, asks ? std::vector<std::string>{"confirm: Do you wish to install the mutator:\r\n\r\nMy Mutator.u"}
                               : std::vector<std::string>{});
    EXPECT_EQ(game.ToolCalls(), c.runs ? std::vector<std::string>{game.ToolCall("exportcache My Mutator.u")}
                                       : std::vector<std::string>{});
    EXPECT_EQ(view.Statuses, c.runs ? std::vector<std::string>{"Installing mutator My Mutator.u..."}
                                    : std::vector<std::string>{});
  }
}

TEST_F(MutatorRegistration, BulkCommandRegistersEachUnregisteredNonStockEntryUnlessTheAnswerIsNo) {
  const struct {
    TModalResult answer;
    bool runs;
  } cases[] = {{TModalResult::No, false}, {TModalResult::Yes, true}, {TModalResult::None, true}};
  for (const auto& c : cases) {
    Reset(c.answer);
    for (const char* name : {"MyMutator.u", "With Space.u", "Core.u", "xgame_RC.u", "Core.bak.u", "Done.u", "Done.ucl",
                             "Other.ut2"})
      Put(name);
    ::DeleteFileA((game.Prefs.SystemPath + "MyMutator.ucl").c_str());
    ::DeleteFileA((game.Prefs.SystemPath + "With.ucl").c_str());
    MakeFolders(game.Prefs.SystemPath + "Folder.u");
    ::DeleteFileA((game.Prefs.SystemPath + "Folder.ucl").c_str());

    RegisterUninstalledMutators(game.Prefs, view, view, launcher, [] { return false; });

    EXPECT_EQ(view.Boxes, std::vector<std::string>{std::string("ask: ") + JobTexts::RegisterWarning});
    EXPECT_EQ(game.ToolCalls(), c.runs ? (std::vector<std::string>{game.ToolCall("exportcache Folder.u"),
                                                                    game.ToolCall("exportcache MyMutator.u"),
                                                                    game.ToolCall("exportcache With Space.u")})
                                       : std::vector<std::string>{});
    EXPECT_EQ(view.Statuses.size(), c.runs ? 4u : 0u);
    EXPECT_EQ(view.Status, c.runs ? "Done!" : "initial");
  }
}

}  // namespace
