#include "core/package_needs.h"

#include <deque>
#include <unordered_set>

#include "core/safe_names.h"

TPackageNeeds ResolvePackageNeeds(const std::vector<TRootPackage>& roots, const TPackageLookup& lookup,
                                  TLeadByteTest isLeadByte) {
  TPackageNeeds result;
  std::unordered_set<std::string> reached;  // upper-cased names
  std::deque<TRootPackage> pending(roots.begin(), roots.end());
  for (const TRootPackage& root : roots) reached.insert(UpperCaseAscii(root.name));
  while (!pending.empty()) {
    const TRootPackage package = std::move(pending.front());
    pending.pop_front();
    const TNeedsReading needs = package.readNeeds();
    if (!needs.failure.empty()) {
      result.unreadable.push_back({package.name, needs.failure});
      continue;
    }
    for (const std::string& name : needs.names) {
      if (!reached.insert(UpperCaseAscii(name)).second) continue;
      if (!IsSafeFileName(name, "", isLeadByte)) {
        result.missing.push_back({name, package.name});
        continue;
      }
      TPackageLocation location = lookup(name);
      if (location.place == TPackagePlace::Cached) {
        result.cached.push_back({name, package.name});
        pending.push_back({name, [needs = std::move(location.needs)] { return TNeedsReading{needs, {}}; }});
      } else if (location.place != TPackagePlace::Installed) {
        result.missing.push_back({name, package.name});
      }
    }
  }
  return result;
}
