// A child process for the launcher tests. Modes, by its first argument:
//   exit N           exits at once with code N
//   sleep MS         sleeps MS milliseconds, then exits with code 0
//   record FILE      writes to FILE its working folder, its raw command line and the show command
//                    it was given (-1: none), one per line, then exits with 0
//   wait-file FILE   runs until FILE no longer exists, then exits with 0
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "raw_arguments.h"

namespace {

int Record(const char* file) {
  char folder[MAX_PATH] = "";
  ::GetCurrentDirectoryA(MAX_PATH, folder);
  FILE* out = std::fopen(file, "wb");
  if (!out) return 2;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  ::GetStartupInfoA(&startup);
  const int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : -1;
  std::fprintf(out, "%s\n%s\n%d\n", folder, RawArguments().c_str(), show);
  std::fclose(out);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 1;
  const char* mode = argv[1];
  if (std::strcmp(mode, "exit") == 0) return std::atoi(argv[2]);
  if (std::strcmp(mode, "sleep") == 0) {
    ::Sleep(static_cast<DWORD>(std::atol(argv[2])));
    return 0;
  }
  if (std::strcmp(mode, "record") == 0) return Record(argv[2]);
  if (std::strcmp(mode, "wait-file") == 0) {
    while (::GetFileAttributesA(argv[2]) != INVALID_FILE_ATTRIBUTES) ::Sleep(20);
    return 0;
  }
  return 1;
}
