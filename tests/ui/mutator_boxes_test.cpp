// The questions of the registration of code packages and before a run, asked through the program's
// own boxes: one that cannot be opened ends its command with the reason, and nothing goes ahead.
#include <gtest/gtest.h>

#include <algorithm>

#include "job/job_controller.h"
#include "job/package_cache_fixture.h"
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

TEST(QuestionBoxes, AQuestionThatCannotBeShownEndsItsCommandWithTheReason) {
  TGameFolder game;
  TGameToolLauncher launcher;
  WriteFileBytes(game.Prefs.SystemPath + "MyMutator.u", "package");
  WritePackageCache(game);
  game.Prefs.AutoRegMutators = game.Prefs.PromptMutReg = true;
  TBoxlessView boxless;
  TJobController commands(boxless.Seams(), [&game]() -> const TAppliedPrefs& { return game.Prefs; }, launcher);
  const struct {
    const char* Command;
    std::function<void()> Run;
  } cases[] = {{"install step", [&] { InstallMutator("MyMutator.u", game.Prefs, boxless, boxless, launcher); }},
               {"bulk command", [&] { RegisterUninstalledMutators(game.Prefs, boxless, boxless, launcher, [] { return false; }); }},
               {"run needing packages", [&] {
                  commands.tbOpenCacheClick();
                  boxless.Rows.at(0).Ticked = true;  // DM-Pyramid.ut2, which needs cached packages
                  commands.tbCopySelectedClick();
                }}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Command);
    EXPECT_NE(ErrorOf(c.Run).find(SystemErrorText(ERROR_NOT_ENOUGH_MEMORY)), std::string::npos);
    EXPECT_EQ(game.ToolCalls(), std::vector<std::string>{});
    EXPECT_FALSE(FileExists(game.Prefs.MapPath + "DM-Pyramid.ut2"));
  }
}

}  // namespace
