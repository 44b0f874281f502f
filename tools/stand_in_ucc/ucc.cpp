// A test double for the game's command-line tool, for the end-to-end tests and the demo game
// folder. It does none of the real tool's work. Given "exportcache <package file name>" it
//   - appends "<working folder>|<raw command line after the program name>" to "ucc-calls.log",
//   - writes "<base name>.ucl" (base name: the text before the first '.'),
// both in its working folder, and exits with code 0. While a file "ucc-wait" exists in its
// working folder it waits first, so that a test can hold it running.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "raw_arguments.h"

namespace {

void AppendCall(const std::string& folder, const std::string& arguments) {
  FILE* log = std::fopen("ucc-calls.log", "ab");
  if (!log) return;
  std::fprintf(log, "%s|%s\r\n", folder.c_str(), arguments.c_str());
  std::fclose(log);
}

void WriteRegistrationFile(const std::string& packageFile) {
  const std::string base = packageFile.substr(0, packageFile.find('.'));
  FILE* out = std::fopen((base + ".ucl").c_str(), "wb");
  if (!out) return;
  std::fprintf(out, "; written by the stand-in tool for %s\r\n", packageFile.c_str());
  std::fclose(out);
}

}  // namespace

int main(int argc, char** argv) {
  while (::GetFileAttributesA("ucc-wait") != INVALID_FILE_ATTRIBUTES) ::Sleep(20);
  char folder[MAX_PATH] = "";
  ::GetCurrentDirectoryA(MAX_PATH, folder);
  AppendCall(folder, RawArguments());
  if (argc >= 3 && std::strcmp(argv[1], "exportcache") == 0) WriteRegistrationFile(argv[2]);
  return 0;
}
