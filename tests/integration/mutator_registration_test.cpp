// Registration of code packages against the stand-in for the game's tool.
#include <gtest/gtest.h>

#include <algorithm>

#include "framework/message_dialog.h"
#include "framework/window_driver.h"
#include "integration/integration_texts.h"
#include "integration/main_job_fixture.h"

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
    InstallMutator("My Mutator.u", game.Prefs, view, launcher);
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

    RegisterUninstalledMutators(game.Prefs, view, launcher, [] { return false; });

    EXPECT_EQ(view.Boxes, std::vector<std::string>{std::string("ask: ") + IntegrationTexts::RegisterWarning});
    EXPECT_EQ(game.ToolCalls(), c.runs ? (std::vector<std::string>{game.ToolCall("exportcache Folder.u"),
                                                                    game.ToolCall("exportcache MyMutator.u"),
                                                                    game.ToolCall("exportcache With Space.u")})
                                       : std::vector<std::string>{});
    EXPECT_EQ(view.Statuses.size(), c.runs ? 4u : 0u);
    EXPECT_EQ(view.Status, c.runs ? "Done!" : "initial");
  }
}

// The program's own boxes in place of the scripted answers, failing to open for want of memory.
class TBoxlessView : public TFakeMainView {
public:
  TMessageDialogs Dialogs{[](const DLGTEMPLATE*, HWND, DLGPROC, LPARAM) -> INT_PTR {
    ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return -1;
  }};
  TModalResult AskWarning(const std::string& text) override { return Dialogs.AskWarning(text); }
  TModalResult AskConfirmation(const std::string& text) override { return Dialogs.AskConfirmation(text); }
};

TEST_F(MutatorRegistration, AQuestionThatCannotBeShownStartsNoToolAndIsReported) {
  game.Prefs.AutoRegMutators = game.Prefs.PromptMutReg = true;
  Put("MyMutator.u");
  TBoxlessView boxless;
  const struct {
    const char* Command;
    std::function<void()> Run;
  } commands[] = {{"install step", [&] { InstallMutator("MyMutator.u", game.Prefs, boxless, launcher); }},
                  {"bulk command", [&] { RegisterUninstalledMutators(game.Prefs, boxless, launcher, [] { return false; }); }}};
  for (const auto& command : commands) {
    SCOPED_TRACE(command.Command);
    std::vector<std::string> errorTexts;
    TDialogDriver driver([&](HWND box) {
      errorTexts = StaticTexts(box);
      PressKey(box, VK_RETURN);
    });
    command.Run();
    EXPECT_TRUE(driver.Acted()) << "no error box";
    EXPECT_TRUE(std::any_of(errorTexts.begin(), errorTexts.end(), [](const std::string& text) {
      return text.find(SystemErrorText(ERROR_NOT_ENOUGH_MEMORY)) != std::string::npos;
    }));
    EXPECT_EQ(game.ToolCalls(), std::vector<std::string>{});
  }
}

}  // namespace
