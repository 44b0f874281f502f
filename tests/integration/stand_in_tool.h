#pragma once
// The stand-in for the game's tool, copied into a test's System folder, and what it recorded.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "integration/launcher.h"
#include "integration/mutator_registration.h"
#include "support/test_files.h"

inline void InstallStandInTool(const std::string& systemPath) {
  std::string tool = PN_STAND_IN_UCC;
  std::replace(tool.begin(), tool.end(), '/', '\\');
  ::CopyFileA(tool.c_str(), (systemPath + "ucc.exe").c_str(), FALSE);
}

// The lines "<working folder>|<arguments>" of the tool's runs, in the order they ran.
inline std::vector<std::string> ToolCalls(const std::string& systemPath) {
  std::vector<std::string> calls;
  if (!FileExists(systemPath + "ucc-calls.log")) return calls;
  const std::string log = ReadFileBytes(systemPath + "ucc-calls.log");
  size_t start = 0;
  for (size_t end; (end = log.find("\r\n", start)) != std::string::npos; start = end + 2)
    calls.push_back(log.substr(start, end - start));
  return calls;
}

// What the tool reports as its working folder: the System folder without its final '\'.
inline std::string ToolCall(const std::string& systemPath, const std::string& arguments) {
  return systemPath.substr(0, systemPath.size() - 1) + "|" + arguments;
}

// The main window's launcher, as its description configures it.
struct TGameToolLauncher : TLauncher {
  TGameToolLauncher() { ConfigureGameToolLauncher(*this); }
};
