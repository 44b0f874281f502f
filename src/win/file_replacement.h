#pragma once
// Replacing a file only by a complete new one: the new bytes go to a file under a temporary name
// on the same volume and take the target's name in one step, so that a failure or a crash leaves
// the target as it was and never a part of the new one under its name.
#include <windows.h>

#include <functional>
#include <string>

#include "win/handles.h"

// Why the file at path could not be replaced, or 0 when nothing stands in the way (also when no
// file is there yet but its folder is). Asked before the replace because the emulated file system
// lets a rename pass over a read-only file or one that another holder keeps open unshared, where
// the real one refuses.
DWORD ReplaceBlocker(const std::string& path);

// Removes what writers killed half way left behind: the files named prefix followed by a number.
// One that another writer still holds open stays.
void RemoveNumberedLeftovers(const std::string& prefix);

// The system's replace: MoveFileEx, replacing an existing target, written through to the disk.
bool MoveReplacing(const std::string& from, const std::string& to);

// A new file named prefix followed by the first number from firstNumber on that is not taken yet,
// open for writing and shared with nobody; removed on every path unless it has taken its target's
// place.
class TReplacementFile {
public:
  explicit TReplacementFile(const std::string& prefix, int firstNumber = 1);
  ~TReplacementFile();
  TReplacementFile(const TReplacementFile&) = delete;
  TReplacementFile& operator=(const TReplacementFile&) = delete;

  bool Created() const { return file_.Valid(); }
  DWORD CreateError() const { return error_; }  // why it could not be made
  int Number() const { return number_; }         // the number it took
  HANDLE Handle() const { return file_.Get(); }

  // Closes the complete file and puts it in target's place with move; false, with the system's
  // error, when refused.
  using TMove = std::function<bool(const std::string& from, const std::string& to)>;
  bool Replace(const std::string& target, const TMove& move = MoveReplacing);

private:
  static constexpr int MaxAttempts = 1000;  // names held by other writers in progress
  std::string path_;
  int number_ = 0;
  TFileHandle file_;
  DWORD error_ = 0;
  bool placed_ = false;
};
