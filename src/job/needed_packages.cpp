#include "job/needed_packages.h"

#include <unordered_map>

#include "core/exceptions.h"
#include "core/text_rules.h"
#include "job/cache_index.h"
#include "job/package_check.h"
#include "job/package_check_texts.h"

namespace {

// A cached package that ticked packages need, and the row that lists it.
struct TNeededRow {
  int row = 0;
  std::string realName;
  std::string neededBy;  // the package, by name without extension, through which it was reached
};

std::string QuestionText(const std::vector<TNeededRow>& needed) {
  std::string text = PackageCheckTexts::NeededIntro;
  for (size_t i = 0; i < needed.size() && i < MaxShownNames; ++i)
    text += FormatText(PackageCheckTexts::NeededLine, ShownName(needed[i].realName).c_str(),
                       ShownName(needed[i].neededBy).c_str());
  if (needed.size() > MaxShownNames)
    text += FormatText(PackageCheckTexts::NeededMore, static_cast<int>(needed.size() - MaxShownNames));
  return text + PackageCheckTexts::NeededQuestion;
}

void Tick(IPackageRows& rows, const std::vector<TNeededRow>& needed) {
  for (const TNeededRow& package : needed) rows.SetRowTicked(package.row, true);
}

// The rows of those packages, in the order they were reached.
std::vector<TNeededRow> FindNeededRows(const IPackageRows& rows, const TCacheIndex& index, const TAppliedPrefs& prefs) {
  std::vector<std::string> ticked;
  std::unordered_map<std::string, int> rowOf;  // the first row of each real file name
  for (int row = 0; row < rows.RowCount(); ++row) {
    const std::string caption = rows.RowCaption(row);
    rowOf.emplace(caption, row);
    if (rows.RowTicked(row)) ticked.push_back(caption);
  }
  if (ticked.empty()) return {};
  TPackageCheck check(index, prefs);
  std::vector<TNeededRow> needed;
  for (const TNeededPackage& package : check.NeedsOf(ticked).cached) {
    const std::string realName = check.CachedName(package.name);
    const auto found = rowOf.find(realName);
    if (found != rowOf.end() && !rows.RowTicked(found->second))
      needed.push_back({found->second, realName, package.neededBy});
  }
  return needed;
}

}  // namespace

std::string SelectNeededPackages(IPackageRows& rows, const TCacheIndex& index, const TAppliedPrefs& prefs) {
  const std::vector<TNeededRow> needed = FindNeededRows(rows, index, prefs);
  Tick(rows, needed);
  return needed.size() == 1 ? PackageCheckTexts::TickedOne
                            : FormatText(PackageCheckTexts::TickedMany, static_cast<int>(needed.size()));
}

bool OfferNeededPackages(IPackageRows& rows, IMessageBoxes& boxes, const TCacheIndex& index,
                         const TAppliedPrefs& prefs) {
  const std::vector<TNeededRow> needed = FindNeededRows(rows, index, prefs);
  if (needed.empty()) return true;
  const TModalResult answer = boxes.AskConfirmation(QuestionText(needed));
  if (answer == TModalResult::None) return false;
  if (answer == TModalResult::Yes) Tick(rows, needed);
  return true;
}
