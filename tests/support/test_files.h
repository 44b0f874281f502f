#pragma once
// Test helpers for real files under Wine: a private folder that is removed with everything in it,
// whole-file reads and writes, and realistic cache entries.
#include <windows.h>

#include <cstdint>
#include <string>

// A fresh folder below the system's temporary folder; removed, contents included, on destruction.
// Path() ends in '\'.
class TTempFolder {
public:
  TTempFolder();
  ~TTempFolder();
  TTempFolder(const TTempFolder&) = delete;
  TTempFolder& operator=(const TTempFolder&) = delete;

  const std::string& Path() const { return path_; }
  // Path() + relative, creating the folders on the way when makeFolders is set.
  std::string Sub(const std::string& relative, bool makeFolders = false) const;

private:
  std::string path_;
};

void RemoveTree(const std::string& folder);  // clears read-only attributes on the way
void MakeFolders(const std::string& folder);
// Extended to size with zeros, when it is larger, as a sparse file that takes no room on the host's disk.
void WriteFileBytes(const std::string& path, const std::string& bytes, uint64_t size = 0);
std::string ReadFileBytes(const std::string& path);  // throws std::runtime_error when unreadable
bool FileExists(const std::string& path);           // a file, not a folder

// The 32 upper-case hex digits of a realistic cache key, derived from n; CacheKey(n) adds "-1".
std::string CacheGuid(uint32_t n);
// Deterministic payload bytes of the given size, different for each seed.
std::string PayloadBytes(size_t size, uint32_t seed);
