#include "core/archive_error.h"

#include <string_view>

void RefuseArchive(const char* reason, std::initializer_list<std::string> args) {
  const std::string_view format(reason);
  std::string text;
  auto arg = args.begin();
  size_t start = 0;
  for (size_t mark = format.find("%s"); mark != std::string_view::npos; mark = format.find("%s", start)) {
    text.append(format.substr(start, mark - start));
    if (arg != args.end()) text += *arg++;
    start = mark + 2;
  }
  text.append(format.substr(start));
  throw EArchiveError(reason, text);
}
