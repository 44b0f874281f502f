#include "win/file_replacement.h"

#include <algorithm>
#include <string_view>

#include "win/files.h"

DWORD ReplaceBlocker(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = ::GetLastError();
    return error == ERROR_FILE_NOT_FOUND ? 0 : error;  // a new file is fine; a missing folder is not
  }
  if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) return ERROR_ACCESS_DENIED;
  // Write and delete access with every sharing allowed: refused exactly when someone holds the
  // file without sharing writes or deletion, or when rights are missing.
  TFileHandle probe(::CreateFileA(path.c_str(), GENERIC_WRITE | DELETE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
  return probe ? 0 : ::GetLastError();
}

void RemoveNumberedLeftovers(const std::string& prefix) {
  const std::string folder = FolderOf(prefix);
  const size_t prefixLength = prefix.size() - folder.size();
  WIN32_FIND_DATAA entry;
  TFindHandle search(::FindFirstFileA((prefix + "*").c_str(), &entry));
  for (bool found = search.Valid(); found; found = ::FindNextFileA(search.Get(), &entry)) {
    const std::string_view name = entry.cFileName;
    const std::string_view number = name.substr(std::min(name.size(), prefixLength));
    const bool numbered = !number.empty() && number.find_first_not_of("0123456789") == std::string_view::npos;
    if (numbered && !(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
      ::DeleteFileA((folder + entry.cFileName).c_str());
  }
}

bool MoveReplacing(const std::string& from, const std::string& to) {
  return ::MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

TReplacementFile::TReplacementFile(const std::string& prefix, int firstNumber) {
  for (number_ = firstNumber; number_ < firstNumber + MaxAttempts; ++number_) {
    path_ = prefix + std::to_string(number_);
    file_.Reset(::CreateFileA(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file_) return;
    error_ = ::GetLastError();
    if (error_ != ERROR_FILE_EXISTS && error_ != ERROR_ALREADY_EXISTS) break;
  }
  path_.clear();
}

TReplacementFile::~TReplacementFile() {
  file_.Reset();
  if (!path_.empty() && !placed_) ::DeleteFileA(path_.c_str());
}

bool TReplacementFile::Replace(const std::string& target, const TMove& move) {
  file_.Reset();
  placed_ = move(path_, target);
  return placed_;
}
