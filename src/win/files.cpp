#include "win/files.h"

#include <algorithm>

uint32_t LocalDosTime(const FILETIME& utc) {
  FILETIME local;
  WORD date = 0;
  WORD time = 0;
  if (!::FileTimeToLocalFileTime(&utc, &local) || !::FileTimeToDosDateTime(&local, &date, &time)) return 0;
  return (static_cast<uint32_t>(date) << 16) | time;
}

int64_t FileSizeOf(const std::string& name) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!::GetFileAttributesExA(name.c_str(), GetFileExInfoStandard, &data)) return -1;
  return static_cast<int64_t>((static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
}

std::string FullPathOf(const std::string& path) {
  char buffer[MAX_PATH];
  char* filePart = nullptr;
  const DWORD length = ::GetFullPathNameA(path.c_str(), MAX_PATH, buffer, &filePart);
  if (length == 0 || length >= MAX_PATH) return path;  // beyond the platform's limit: name it as given
  return std::string(buffer, length);
}

bool IsFilePresent(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool WriteAllBytes(HANDLE file, const void* data, DWORD size, TRawWrite rawWrite) {
  DWORD written = 0;
  return size == 0 || (rawWrite(file, data, size, &written, nullptr) != 0 && written == size);
}

bool SystemLeadByte(unsigned char byte) { return ::IsDBCSLeadByte(byte) != FALSE; }

std::string FileExtOf(std::string_view path) { return FileExtOf(path, SystemLeadByte); }
std::string FileNameOf(std::string_view path) { return FileNameOf(path, SystemLeadByte); }
std::string FolderOf(std::string_view path) { return FolderOf(path, SystemLeadByte); }
TPackageKind GetPackageKind(std::string_view name) { return GetPackageKind(name, SystemLeadByte); }

char SystemDecimalSeparator() {
  char separator[8] = {};
  if (::GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, sizeof separator) < 2) return '.';
  return separator[0];
}

namespace {

// text, in the code page, as wide characters; nothing when it is empty, or when flags ask for valid
// text and it is not.
std::optional<std::wstring> WideOf(std::string_view text, UINT codePage, DWORD flags) {
  const int length = static_cast<int>(text.size());
  const int wide = ::MultiByteToWideChar(codePage, flags, text.data(), length, nullptr, 0);
  if (wide <= 0) return std::nullopt;
  std::wstring result(static_cast<size_t>(wide), L'\0');
  ::MultiByteToWideChar(codePage, flags, text.data(), length, result.data(), wide);
  return result;
}

}  // namespace

std::optional<std::string> AnsiOfUtf8(std::string_view utf8) {
  const std::optional<std::wstring> text = WideOf(utf8, CP_UTF8, MB_ERR_INVALID_CHARS);
  if (!text) return std::nullopt;
  if (::GetACP() == CP_UTF8) return std::string(utf8);
  const int wide = static_cast<int>(text->size());
  BOOL lost = FALSE;
  const int size = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text->data(), wide, nullptr, 0, nullptr, &lost);
  if (size <= 0 || lost) return std::nullopt;
  std::string ansi(static_cast<size_t>(size), '\0');
  ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text->data(), wide, ansi.data(), size, nullptr, nullptr);
  return ansi;
}

std::string FileSystemCase(std::string_view path) {
  std::string folded(path);
  if (!folded.empty()) ::CharUpperBuffA(folded.data(), static_cast<DWORD>(folded.size()));
  return folded;
}

std::string AnsiOfUtf16(std::string_view utf16le, bool& fits) {
  std::wstring text(utf16le.size() / 2, L'\0');
  for (size_t i = 0; i < text.size(); ++i)
    text[i] = static_cast<wchar_t>(static_cast<unsigned char>(utf16le[2 * i]) | static_cast<unsigned char>(utf16le[2 * i + 1]) << 8);
  // A UTF-8 code page spells every character, and takes no replacement character.
  const bool utf8 = ::GetACP() == CP_UTF8;
  const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
  const char* replacement = utf8 ? nullptr : "?";
  BOOL lost = FALSE;
  BOOL* noted = utf8 ? nullptr : &lost;
  const int wide = static_cast<int>(text.size());
  const int size = ::WideCharToMultiByte(CP_ACP, flags, text.data(), wide, nullptr, 0, replacement, noted);
  std::string ansi(static_cast<size_t>(std::max(size, 0)), '\0');
  if (size > 0) ::WideCharToMultiByte(CP_ACP, flags, text.data(), wide, ansi.data(), size, replacement, noted);
  fits = !lost;
  return ansi;
}

std::string MakeFolderPath(const std::string& folder, DWORD& error) {
  const std::string full = AddTrailingBackslash(FullPathOf(folder));
  // The levels below the root: after "C:\", or after "\\server\share\".
  size_t next = full.rfind("\\\\", 0) == 0 ? full.find('\\', full.find('\\', 2) + 1) : full.find('\\');
  while ((next = full.find('\\', next + 1)) != std::string::npos) {
    const std::string level = full.substr(0, next);
    if (::CreateDirectoryA(level.c_str(), nullptr)) continue;
    error = ::GetLastError();
    const DWORD attributes = ::GetFileAttributesA(level.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return level;
  }
  error = 0;
  return {};
}

std::string Utf8OfAnsi(std::string_view ansi) {
  const std::wstring text = WideOf(ansi, CP_ACP, 0).value_or(L"");
  const int wide = static_cast<int>(text.size());
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), wide, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(size), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.data(), wide, utf8.data(), size, nullptr, nullptr);
  return utf8;
}
