#pragma once
// Where the launcher tests' child process lies, as a Windows path (Wine shows the host's root
// as drive Z:).
#include <string>

inline std::string TestChildPath() {
  std::string path = PN_TEST_CHILD_EXE;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}
