#include "core/file_dialog_text.h"

#include <algorithm>
#include <cstring>

#include "core/text_rules.h"

std::string OpenDialogFilter(const std::string& filter) {
  std::string pairs = filter;
  std::replace(pairs.begin(), pairs.end(), '|', '\0');
  pairs.append(2, '\0');
  return pairs;
}

std::vector<std::string> ChosenFiles(const char* buffer) {
  std::vector<std::string> texts;
  for (const char* text = buffer; *text; text += std::strlen(text) + 1) texts.emplace_back(text);
  if (texts.size() < 2) return texts;
  const std::string folder = AddTrailingBackslash(texts.front());  // a drive's root has its backslash
  std::vector<std::string> files;
  for (size_t i = 1; i < texts.size(); ++i) files.push_back(folder + texts[i]);
  return files;
}
