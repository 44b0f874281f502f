#include "core/safe_names.h"

#include <array>
#include <string>

#include "core/index_lines.h"

namespace {

constexpr std::string_view ReservedCharacters = "\\/:*?\"<>|";
// The digits after COM or LPT that make a device name.
constexpr std::string_view DeviceDigits = "123456789\xB9\xB2\xB3";

// The number of characters of text: a lead byte and its trail byte count as one.
size_t CharacterCount(std::string_view text, TLeadByteTest isLeadByte) {
  size_t count = 0;
  for (size_t i = 0; i < text.size(); ++i, ++count)
    if (isLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) ++i;
  return count;
}

// True when a byte outside a double-byte character is a separator, a control character or one of
// the characters the file system reserves for wildcards and redirection: such a name can be no
// file's, and a lookup would take it for a pattern.
bool HasSeparatorOrControl(std::string_view name, TLeadByteTest isLeadByte) {
  for (size_t i = 0; i < name.size(); ++i) {
    const auto byte = static_cast<unsigned char>(name[i]);
    if (isLeadByte(byte) && i + 1 < name.size()) {
      ++i;  // the pair is one character; its trail byte may be 0x5C and is still no '\'
      continue;
    }
    if (byte < 32 || ReservedCharacters.find(static_cast<char>(byte)) != std::string_view::npos) return true;
  }
  return false;
}

// The file system opens a device for these base names, whatever extension follows and whatever
// spaces stand before the first dot. It also takes COM and LPT followed by a superscript 1, 2 or 3
// for devices: bytes B9, B2 and B3 in the Western code page, C2 B9 and so on in UTF-8. They are refused
// in every code page: elsewhere they spell other letters, and a name of a device with one of those
// after it is no loss.
bool IsDeviceName(std::string_view name) {
  std::string_view base = name.substr(0, name.find('.'));
  while (!base.empty() && base.back() == ' ') base.remove_suffix(1);
  const std::string upper = UpperCaseAscii(base);
  static constexpr std::array<std::string_view, 4> Plain = {"CON", "PRN", "AUX", "NUL"};
  for (const std::string_view device : Plain)
    if (upper == device) return true;
  if (!BeginsWith(upper, "COM") && !BeginsWith(upper, "LPT")) return false;
  const std::string_view digit = std::string_view(upper).substr(3);
  if (digit.size() == 1) return DeviceDigits.find(digit[0]) != std::string_view::npos;
  return digit == "\xC2\xB9" || digit == "\xC2\xB2" || digit == "\xC2\xB3";
}

}  // namespace

bool IsSafeFileName(std::string_view name, std::string_view folder, TLeadByteTest isLeadByte) {
  if (name.empty() || name == "." || name == "..") return false;
  if (name.back() == '.' || name.back() == ' ') return false;
  if (HasSeparatorOrControl(name, isLeadByte) || IsDeviceName(name)) return false;
  return CharacterCount(folder, isLeadByte) + CharacterCount(name, isLeadByte) < MaxPathChars;
}

bool IsSafeCacheKey(std::string_view key, std::string_view cacheFolder, TLeadByteTest isLeadByte) {
  return IsSafeFileName(key, "", isLeadByte) &&
         IsSafeFileName(std::string(key) + PayloadExtension, cacheFolder, isLeadByte);
}
