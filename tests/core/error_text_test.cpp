#include <gtest/gtest.h>

#include "core/error_text.h"
#include "core/exceptions.h"

TEST(ErrorBoxText, AppendsAFullStopOnlyAfterCharactersThatSortAfterIt) {
  const struct {
    const char* message;
    const char* shown;
  } cases[] = {
      {"Error opening file", "Error opening file."},
      {"Failed to set data for 'SystemPath'", "Failed to set data for 'SystemPath'"},
      {"Cannot open file \"C:\\x\\cache.ini\". Access denied", "Cannot open file \"C:\\x\\cache.ini\". Access denied."},
      {"Done.", "Done."},
      {"List index out of bounds (7)", "List index out of bounds (7)"},
      {"ends in a slash/", "ends in a slash/."},
      {"ends in a comma,", "ends in a comma,"},
      {"high byte \xE9", "high byte \xE9."},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ErrorBoxText(c.message), c.shown) << c.message;
}

TEST(FormatText, FillsPlaceholdersOfAnyLength) {
  EXPECT_EQ(FormatText("List index out of bounds (%d)", -1), "List index out of bounds (-1)");
  EXPECT_EQ(FormatText("Failed to get data for '%s'", "AutoRegMutators"), "Failed to get data for 'AutoRegMutators'");
  const std::string longName(5000, 'x');
  EXPECT_EQ(FormatText("[%s]", longName.c_str()), "[" + longName + "]");
  EXPECT_EQ(FormatText("%s", ""), "");
}
