// The Clean Up dialog, driven from inside its modal loop: what it shows of a survey, greyed empty
// categories, the purge box only where the setting can be changed, the choice, Cancel.
#include "ui/cleanup_dialog.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "ui/resource.h"
#include "ui/window_driver.h"

namespace {

void Click(HWND dialog, int id) { ::SendMessageA(::GetDlgItem(dialog, id), BM_CLICK, 0, 0); }
bool Enabled(HWND dialog, int id) { return ::IsWindowEnabled(::GetDlgItem(dialog, id)); }
bool Checked(HWND dialog, int id) { return ::IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
std::string Text(HWND dialog, int id) { return WindowText(::GetDlgItem(dialog, id)); }

TCacheSurvey SurveyWithOrphansAndInstalled(bool gameFound) {
  TCacheSurvey survey;
  survey.orphans = {{"0A1B2C3D4E5F60718293A4B5C6D7E8F9.uxx", 1000}, {"11223344556677889900AABBCCDDEEFF.UXX", 2000}};
  survey.orphanBytes = 3000;
  survey.installedLines = {4};
  survey.installedBytes = 2048;
  survey.packages = 12;
  survey.maps = 5;
  survey.bytes = 1536 * 1024;
  survey.purge = {gameFound ? "C:\\UT2004\\System\\UT2004.ini" : "", gameFound, gameFound ? std::optional(30) : std::nullopt};
  return survey;
}

TEST(CleanUpDialog, ShowsTheSurveyGreysEmptyCategoriesAndGivesWhatIsTicked) {
  TCleanUpDialog dialog;
  const TCacheSurvey survey = SurveyWithOrphansAndInstalled(true);
  std::optional<TCleanUpChoice> chosen;
  TDialogDriver driver([&](HWND window) {
    EXPECT_EQ(Text(window, IDC_CLEANUP_ORPHANS_SIZE), DescribeSurvey(survey).orphans);
    EXPECT_EQ(Text(window, IDC_CLEANUP_PURGE_TEXT), "The game deletes cached packages after 30 days.");
    EXPECT_TRUE(Enabled(window, IDC_CLEANUP_ORPHANS) && Checked(window, IDC_CLEANUP_ORPHANS));
    EXPECT_FALSE(Enabled(window, IDC_CLEANUP_MISSING) || Checked(window, IDC_CLEANUP_MISSING)) << "nothing is missing";
    EXPECT_FALSE(Checked(window, IDC_CLEANUP_NEVER_PURGE));
    Click(window, IDC_CLEANUP_INSTALLED);
    Click(window, IDC_CLEANUP_NEVER_PURGE);
    if (const char* path = std::getenv("PELLORIN_SCREENSHOT_BMP")) SaveScreenshot(window, path);
    Click(window, IDOK);
  });
  chosen = dialog.ChooseCleanUp(survey);
  EXPECT_TRUE(driver.Acted());
  EXPECT_EQ(chosen, (TCleanUpChoice{true, false, false, true}));
}

TEST(CleanUpDialog, AnUnknownPurgeSettingCannotBeChangedAndCancelChoosesNothing) {
  TCleanUpDialog dialog;
  TDialogDriver driver([&](HWND window) {
    EXPECT_FALSE(Enabled(window, IDC_CLEANUP_NEVER_PURGE));
    Click(window, IDC_CLEANUP_NEVER_PURGE);
    Click(window, IDCANCEL);
  });
  EXPECT_EQ(dialog.ChooseCleanUp(SurveyWithOrphansAndInstalled(false)), std::nullopt);
  EXPECT_TRUE(driver.Acted());
}

}  // namespace
