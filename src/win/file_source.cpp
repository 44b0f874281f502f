#include "win/file_source.h"

#include <algorithm>
#include <limits>

#include "core/exceptions.h"

std::optional<TFileSource> TFileSource::Open(const std::string& path) {
  TFileHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL | FILE_FLAG_RANDOM_ACCESS, nullptr));
  LARGE_INTEGER size{};
  if (!file || !::GetFileSizeEx(file.Get(), &size)) return std::nullopt;
  return TFileSource(std::move(file), static_cast<std::uint64_t>(size.QuadPart));
}

size_t TFileSource::ReadAt(std::uint64_t offset, char* buffer, size_t size) {
  if (offset >= size_ || size == 0) return 0;
  LARGE_INTEGER at{};
  at.QuadPart = static_cast<LONGLONG>(offset);
  const auto wanted = static_cast<DWORD>(std::min<size_t>(size, std::numeric_limits<DWORD>::max()));
  DWORD read = 0;
  if (!::SetFilePointerEx(file_.Get(), at, nullptr, FILE_BEGIN) ||
      !::ReadFile(file_.Get(), buffer, wanted, &read, nullptr))
    throw Exception(SystemErrorText(::GetLastError()));
  bytesRead_ += read;
  return read;
}
