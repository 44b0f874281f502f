#include "win/file_streams.h"

#include <algorithm>

#include "core/exceptions.h"
#include "win/files.h"

namespace {

// The largest piece one system call moves.
constexpr size_t MaxPiece = 1u << 30;

}  // namespace

TFileSource::TFileSource(const std::string& path, std::string readFailure, TFileSharing sharing)
    : file_(::CreateFileA(path.c_str(), GENERIC_READ,
                          FILE_SHARE_READ | (sharing == TFileSharing::ReadersAndDeletion ? FILE_SHARE_DELETE : 0),
                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr)),
      readFailure_(std::move(readFailure)) {}

size_t TFileSource::Read(char* buffer, size_t size) {
  DWORD got = 0;
  if (!::ReadFile(file_.Get(), buffer, static_cast<DWORD>(std::min(size, MaxPiece)), &got, nullptr))
    throw Exception(readFailure_);
  bytesRead_ += got;
  return got;
}

std::uint64_t TFileSource::Size() {
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file_.Get(), &size)) throw Exception(readFailure_);
  return static_cast<std::uint64_t>(size.QuadPart);
}

size_t TFileSource::ReadAt(std::uint64_t offset, char* buffer, size_t size) {
  // An offset given with a synchronous handle reads there and nowhere else.
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(offset);
  at.OffsetHigh = static_cast<DWORD>(offset >> 32);
  DWORD got = 0;
  if (!::ReadFile(file_.Get(), buffer, static_cast<DWORD>(std::min(size, MaxPiece)), &got, &at)) {
    if (::GetLastError() == ERROR_HANDLE_EOF) return 0;
    throw Exception(readFailure_);
  }
  bytesRead_ += got;
  return got;
}

std::uint32_t TFileSource::LastWriteDosTime() {
  FILETIME written{};
  return ::GetFileTime(file_.Get(), nullptr, nullptr, &written) ? LocalDosTime(written) : 0;
}

void THandleSink::Write(const char* data, size_t size) {
  while (size > 0) {
    const size_t piece = std::min(size, MaxPiece);
    if (!write_(file_, data, static_cast<DWORD>(piece))) throw Exception(writeFailure_);
    data += piece;
    size -= piece;
  }
}
