// The stand-in for the game's tool, run the way the mutator registration runs the real one:
// hidden, in the System folder, waited for while messages are handled.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "integration/launcher.h"
#include "support/test_files.h"

namespace {

std::string StandInTool() {
  std::string path = PN_STAND_IN_UCC_EXE;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

class StandInToolTest : public testing::Test {
protected:
  void SetUp() override {
    system = temp.Sub("UT2004\\System\\", true);
    const std::string tool = ReadFileBytes(StandInTool());
    WriteFileBytes(system + "ucc.exe", tool);
    launcher.FileName = system + "ucc.exe";
    launcher.StartDir = system;
    launcher.ShowMode = TShowMode::smHide;
    launcher.WaitUntilFinished = true;
    launcher.WaitType = TWaitType::wtProcessMessages;
    launcher.OnFinished = [this](TLauncher&) { ++finished; };
  }

  TTempFolder temp;
  std::string system;
  TLauncher launcher;
  int finished = 0;
};

TEST_F(StandInToolTest, RecordsEachCallAndWritesTheRegistrationFile) {
  const char* packages[] = {"MyMutator.u", "Two Words.u", "Core.bak.u"};
  std::string expectedLog;
  for (const char* package : packages) {
    launcher.Parameters = std::string("exportcache ") + package;
    launcher.Launch();
    expectedLog += system.substr(0, system.size() - 1) + "|" + launcher.Parameters + "\r\n";
  }
  EXPECT_EQ(finished, 3);
  EXPECT_EQ(launcher.ExitCode(), 0u);
  EXPECT_EQ(ReadFileBytes(system + "ucc-calls.log"), expectedLog);
  EXPECT_TRUE(FileExists(system + "MyMutator.ucl"));
  EXPECT_TRUE(FileExists(system + "Two.ucl"));  // unquoted: the name ends at the blank
  EXPECT_TRUE(FileExists(system + "Core.ucl"));
}

TEST_F(StandInToolTest, HoldFileKeepsTheToolRunning) {
  WriteFileBytes(system + "ucc-wait", "");
  launcher.Timeout = 200;
  int timeouts = 0;
  launcher.OnTimeout = [&](TLauncher&) { ++timeouts; };
  launcher.Parameters = "exportcache Held.u";
  launcher.Launch();
  EXPECT_EQ(timeouts, 1);
  EXPECT_FALSE(FileExists(system + "Held.ucl"));

  ::DeleteFileA((system + "ucc-wait").c_str());
  launcher.Timeout = -1;
  launcher.Parameters = "exportcache Second.u";
  launcher.Launch();
  EXPECT_EQ(finished, 1);
  EXPECT_TRUE(FileExists(system + "Second.ucl"));
}

}  // namespace
