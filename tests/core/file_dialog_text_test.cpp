#include "core/file_dialog_text.h"

#include <gtest/gtest.h>

TEST(ChosenFiles, GivesFullPathsForOneOrSeveralFiles) {
  using TFiles = std::vector<std::string>;
  const struct {
    std::string buffer;
    TFiles files;
  } cases[] = {
      {std::string("C:\\Downloads\\DM-A.ut2\0", 23), {"C:\\Downloads\\DM-A.ut2"}},
      {std::string("C:\\Downloads\0DM-A.ut2\0B.uz2\0\0", 29), {"C:\\Downloads\\DM-A.ut2", "C:\\Downloads\\B.uz2"}},
      {std::string("C:\\\0A.zip\0B.u\0\0", 15), {"C:\\A.zip", "C:\\B.u"}},
      {std::string("\0", 1), {}},
  };
  for (const auto& c : cases) EXPECT_EQ(ChosenFiles(c.buffer.c_str()), c.files) << c.buffer;
  EXPECT_EQ(OpenDialogFilter("Packages|*.ut2;*.u|All|*.*"), std::string("Packages\0*.ut2;*.u\0All\0*.*\0\0", 28));
}
