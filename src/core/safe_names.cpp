#include "core/safe_names.h"

#include <array>
#include <string>

#include "core/index_lines.h"

namespace {

// The number of characters of text: a lead byte and its trail byte count as one.
size_t CharacterCount(std::string_view text, TLeadByteTest isLeadByte) {
  size_t count = 0;
  for (size_t i = 0; i < text.size(); ++i, ++count)
    if (isLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) ++i;
  return count;
}

// True when a byte outside a double-byte character is a separator or a control character.
bool HasSeparatorOrControl(std::string_view name, TLeadByteTest isLeadByte) {
  for (size_t i = 0; i < name.size(); ++i) {
    const auto byte = static_cast<unsigned char>(name[i]);
    if (isLeadByte(byte) && i + 1 < name.size()) {
      ++i;  // the pair is one character; its trail byte may be 0x5C and is still no '\'
      continue;
    }
    if (byte < 32 || byte == '\\' || byte == '/' || byte == ':') return true;
  }
  return false;
}

// The file system opens a device for these base names, whatever extension follows and whatever
// spaces stand before the first dot.
bool IsDeviceName(std::string_view name) {
  std::string_view base = name.substr(0, name.find('.'));
  while (!base.empty() && base.back() == ' ') base.remove_suffix(1);
  const std::string upper = UpperCaseAscii(base);
  static constexpr std::array<std::string_view, 4> Plain = {"CON", "PRN", "AUX", "NUL"};
  for (const std::string_view device : Plain)
    if (upper == device) return true;
  return upper.size() == 4 && (BeginsWith(upper, "COM") || BeginsWith(upper, "LPT")) && upper[3] >= '1' &&
         upper[3] <= '9';
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
