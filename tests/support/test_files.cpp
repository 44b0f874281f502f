#include "support/test_files.h"

#include <cstdio>
#include <stdexcept>

TTempFolder::TTempFolder() {
  char base[MAX_PATH];
  ::GetTempPathA(MAX_PATH, base);
  static unsigned counter = 0;
  for (;;) {
    char name[MAX_PATH];
    std::snprintf(name, sizeof name, "%spn-test-%lu-%u-%lu\\", base, ::GetCurrentProcessId(), ++counter,
                  ::GetTickCount());
    if (::CreateDirectoryA(name, nullptr)) {
      path_ = name;
      return;
    }
    if (::GetLastError() != ERROR_ALREADY_EXISTS) throw std::runtime_error(std::string("cannot create ") + name);
  }
}

TTempFolder::~TTempFolder() { RemoveTree(path_); }

std::string TTempFolder::Sub(const std::string& relative, bool makeFolders) const {
  const std::string full = path_ + relative;
  if (makeFolders) MakeFolders(full);
  return full;
}

void RemoveTree(const std::string& folder) {
  std::string base = folder;
  if (!base.empty() && base.back() != '\\') base += '\\';
  WIN32_FIND_DATAA data;
  HANDLE find = ::FindFirstFileA((base + "*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = data.cFileName;
      if (name == "." || name == "..") continue;
      const std::string full = base + name;
      ::SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveTree(full);
      else
        ::DeleteFileA(full.c_str());
    } while (::FindNextFileA(find, &data));
    ::FindClose(find);
  }
  ::RemoveDirectoryA(base.c_str());
}

void MakeFolders(const std::string& folder) {
  for (size_t i = 3; i <= folder.size(); ++i)
    if (i == folder.size() || folder[i] == '\\') ::CreateDirectoryA(folder.substr(0, i).c_str(), nullptr);
}

void WriteFileBytes(const std::string& path, const std::string& bytes, uint64_t size) {
  HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot write " + path);
  DWORD written = 0;
  BOOL ok = bytes.empty() || ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  LARGE_INTEGER end;
  end.QuadPart = static_cast<LONGLONG>(size);
  if (size > bytes.size()) ok = ok && ::SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && ::SetEndOfFile(file);
  ::CloseHandle(file);
  if (!ok || written != bytes.size()) throw std::runtime_error("short write to " + path);
}

std::string ReadFileBytes(const std::string& path) {
  HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot read " + path);
  std::string bytes;
  char buffer[65536];
  DWORD got = 0;
  while (::ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
  ::CloseHandle(file);
  return bytes;
}

bool FileExists(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string CacheGuid(uint32_t n) {
  // A simple mix so that neighbouring n give unrelated-looking keys, as the game's do.
  uint32_t words[4];
  uint32_t x = n * 2654435761u + 0x9E3779B9u;
  for (auto& word : words) {
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    word = x;
  }
  char text[33];
  std::snprintf(text, sizeof text, "%08lX%08lX%08lX%08lX", static_cast<unsigned long>(words[0]),
                static_cast<unsigned long>(words[1]), static_cast<unsigned long>(words[2]),
                static_cast<unsigned long>(words[3]));
  return text;
}

std::string PayloadBytes(size_t size, uint32_t seed) {
  std::string bytes(size, '\0');
  uint32_t x = seed * 747796405u + 2891336453u;
  for (size_t i = 0; i < size; ++i) {
    x = x * 1103515245u + 12345u;
    bytes[i] = static_cast<char>(x >> 24);
  }
  return bytes;
}
