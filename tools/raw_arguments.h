#pragma once
// The command line after the program name, exactly as the parent passed it: what a stand-in
// program records so that a test can check the very text it was started with.
#include <windows.h>

#include <string>

inline std::string RawArguments() {
  const char* line = ::GetCommandLineA();
  bool quoted = false;
  while (*line && (quoted || (*line != ' ' && *line != '\t'))) {
    if (*line == '"') quoted = !quoted;
    ++line;
  }
  while (*line == ' ' || *line == '\t') ++line;
  return line;
}
