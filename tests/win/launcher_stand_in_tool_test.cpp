// The stand-in for the game's tool, run as the mutator registration runs the real one: hidden,
// in the System folder, waited for while messages are handled.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "support/test_files.h"
#include "win/handles.h"
#include "win/launcher.h"

TEST(StandInTool, RecordsTheCallWritesTheRegistrationFileAndCanBeHeld) {
  TTempFolder temp;
  const std::string system = temp.Sub("UT2004\\System\\", true);
  std::string tool = PN_STAND_IN_UCC_EXE;
  for (char& c : tool)
    if (c == '/') c = '\\';
  WriteFileBytes(system + "ucc.exe", ReadFileBytes(tool));
  WriteFileBytes(system + "ucc-wait", "");

  TLauncher launcher;
  launcher.FileName = system + "ucc.exe";
  launcher.StartDir = system;
  launcher.ShowMode = TShowMode::smHide;
  launcher.WaitUntilFinished = true;
  launcher.WaitType = TWaitType::wtProcessMessages;
  launcher.Timeout = 200;
  int timeouts = 0;
  TKernelHandle held;
  launcher.OnTimeout = [&](TLauncher& sender) {
    ++timeouts;
    ::DuplicateHandle(::GetCurrentProcess(), sender.ProcessHandle(), ::GetCurrentProcess(),
                      held.Put(), 0, FALSE, DUPLICATE_SAME_ACCESS);
  };
  launcher.Parameters = "exportcache Held.u";
  launcher.Launch();
  EXPECT_EQ(timeouts, 1);
  EXPECT_FALSE(FileExists(system + "Held.ucl"));

  ::DeleteFileA((system + "ucc-wait").c_str());
  ASSERT_EQ(::WaitForSingleObject(held.Get(), 10000), WAIT_OBJECT_0);
  EXPECT_TRUE(FileExists(system + "Held.ucl"));
  launcher.Timeout = -1;
  launcher.Parameters = "exportcache Core.bak.u";
  launcher.Launch();
  EXPECT_EQ(timeouts, 1);
  EXPECT_TRUE(FileExists(system + "Core.ucl"));
  const std::string folder = system.substr(0, system.size() - 1);
  EXPECT_EQ(ReadFileBytes(system + "ucc-calls.log"),
            folder + "|exportcache Held.u\r\n" + folder + "|exportcache Core.bak.u\r\n");
}
