#include "core/absolute_paths.h"

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// The position of the first separator at or after from that is no trail byte, or npos.
size_t NextSeparator(std::string_view path, size_t from, TLeadByteTest isLeadByte) {
  for (size_t i = from; i < path.size(); ++i) {
    if (isLeadByte(static_cast<unsigned char>(path[i])) && i + 1 < path.size())
      ++i;
    else if (IsSeparator(path[i]))
      return i;
  }
  return std::string_view::npos;
}

}  // namespace

std::optional<TPathRoot> AbsolutePathRoot(std::string_view path, TLeadByteTest isLeadByte) {
  if (path.size() >= 3 && IsDriveLetter(path[0]) && path[1] == ':' && IsSeparator(path[2]))
    return TPathRoot{3, std::string(path.substr(0, 2)) + '\\'};
  if (path.size() < 2 || !IsSeparator(path[0]) || !IsSeparator(path[1])) return std::nullopt;
  const size_t serverEnd = NextSeparator(path, 2, isLeadByte);
  if (serverEnd == std::string_view::npos) return std::nullopt;
  const std::string_view server = path.substr(2, serverEnd - 2);
  if (server.empty() || server == "." || server == "?") return std::nullopt;
  const size_t shareEnd = NextSeparator(path, serverEnd + 1, isLeadByte);
  const std::string_view share = path.substr(serverEnd + 1, shareEnd - serverEnd - 1);
  if (share.empty()) return std::nullopt;
  const size_t length = shareEnd == std::string_view::npos ? path.size() : shareEnd + 1;
  return TPathRoot{length, "\\\\" + std::string(server) + '\\' + std::string(share) + '\\'};
}

bool HasControlBytes(std::string_view s) {
  for (const char c : s)
    if (static_cast<unsigned char>(c) < 32) return true;
  return false;
}

bool IsAbsolutePathWithoutControlBytes(std::string_view path, TLeadByteTest isLeadByte) {
  return !HasControlBytes(path) && AbsolutePathRoot(path, isLeadByte).has_value();
}
