// The registration of code packages asking through the program's own boxes: a box that cannot be
// opened is no consent.
#include <gtest/gtest.h>

#include <algorithm>

#include "job/main_job_fixture.h"
#include "ui/message_dialog.h"
#include "ui/window_driver.h"

namespace {

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

TEST(MutatorRegistrationBoxes, AQuestionThatCannotBeShownStartsNoToolAndIsReported) {
  TGameFolder game;
  TGameToolLauncher launcher;
  WriteFileBytes(game.Prefs.SystemPath + "MyMutator.u", "package");
  game.Prefs.AutoRegMutators = game.Prefs.PromptMutReg = true;
  TBoxlessView boxless;
  const struct {
    const char* Command;
    std::function<void()> Run;
  } commands[] = {{"install step", [&] { InstallMutator("MyMutator.u", game.Prefs, boxless, boxless, launcher); }},
                  {"bulk command", [&] { RegisterUninstalledMutators(game.Prefs, boxless, boxless, launcher, [] { return false; }); }}};
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
