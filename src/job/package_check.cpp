#include "job/package_check.h"

#include <windows.h>

#include <algorithm>

#include "core/exceptions.h"
#include "core/package_kinds.h"
#include "core/safe_names.h"
#include "core/text_rules.h"
#include "job/cache_index_texts.h"
#include "job/job_texts.h"
#include "job/package_check_texts.h"
#include "win/file_streams.h"
#include "win/files.h"

std::string PackageNameOf(const std::string& realName) {
  return realName.substr(0, realName.size() - FileExtOf(realName).size());
}

TPackageCheck::TPackageCheck(const TCacheIndex& index, const TAppliedPrefs& prefs) : index_(index) {
  for (int kind = pkMap; kind < pkOther; ++kind) {
    const std::string folder = GetDestinationFolder(static_cast<TPackageKind>(kind), prefs);
    // A folder left unset is no game folder; one set twice is listed once.
    if (!folder.empty() && std::find(folders_.begin(), folders_.end(), folder) == folders_.end())
      folders_.push_back(folder);
  }
  const std::vector<std::string>& lines = index.CacheList();
  for (size_t i = 1; i < lines.size(); ++i) {  // line 0 is the header
    const std::string& line = lines[i];
    if (TrimBlanks(line).empty() || line[0] == ';') continue;
    const std::string realName = ExtractField(2, line, "=");
    const std::string key = ExtractField(1, line, "=");
    if (GetPackageKind(realName) == pkOther || !IsSafeCacheKey(key, index.CacheDir(), SystemLeadByte)) continue;
    cached_.emplace(UpperCaseAscii(PackageNameOf(realName)), TCachedEntry{key, realName});
  }
}

TPackageLocation TPackageCheck::Locate(const std::string& name) {
  for (const std::string& folder : folders_)
    for (const char* extension : PackageExtensions()) {
      const std::string file = name + extension;
      if (IsSafeFileName(file, folder, SystemLeadByte) && listings_.IsFilePresent(folder, file))
        return {TPackagePlace::Installed, {}};
    }
  const auto found = cached_.find(UpperCaseAscii(name));
  if (found == cached_.end()) return {};
  TPayloadReading payload = ReadPayload(found->second.key);
  if (!payload.failure.empty())
    return {payload.opened ? TPackagePlace::CachedNotAPackage : TPackagePlace::CachedPayloadMissing, {}};
  return {TPackagePlace::Cached, std::move(payload.header.neededPackages)};
}

std::string TPackageCheck::CachedName(const std::string& name) const {
  const auto found = cached_.find(UpperCaseAscii(name));
  return found == cached_.end() ? std::string() : found->second.realName;
}

TPayloadReading TPackageCheck::ReadPayload(const std::string& key) {
  TPayloadReading result;
  if (!IsSafeCacheKey(key, index_.CacheDir(), SystemLeadByte)) {
    result.failure = PackageCheckTexts::NoPayload;
    return result;
  }
  const std::string path = index_.CacheDir() + key + PayloadExtension;
  TFileSource source(path, JobTexts::ErrorReadingFile);
  if (!source.Opened()) {
    result.failure = FileErrorText(CannotOpenFileText, path, ::GetLastError());
    result.size = FileSizeOf(path);  // a payload held open by another program still has its size
    return result;
  }
  result.opened = true;
  try {
    result.size = static_cast<std::int64_t>(source.Size());
    TPackageReading reading = ReadPackageHeader(source);
    result.failure = PackageFaultText(reading.fault);
    result.header = std::move(reading.header);
  } catch (const std::exception& error) {
    // A read error of the disk, or no memory for what the file claims: this payload's needs stay
    // unknown, and it stops nothing; the others are still read.
    result.failure = error.what();
  }
  bytesRead_ += source.BytesRead();
  return result;
}

TNeedsReader TPackageCheck::NeedsReaderOf(const std::string& key) {
  return [this, key] {
    TPayloadReading reading = ReadPayload(key);
    return TNeedsReading{std::move(reading.header.neededPackages), std::move(reading.failure)};
  };
}

TPackageNeeds TPackageCheck::NeedsOf(const std::vector<std::string>& realNames) {
  std::vector<TRootPackage> roots;
  for (const std::string& realName : realNames) {
    const int line = index_.FindCacheEntry(realName);
    if (line < 0 || GetPackageKind(realName) == pkOther) continue;
    roots.push_back({PackageNameOf(realName), NeedsReaderOf(ExtractField(1, index_.CacheList()[line], "="))});
  }
  return ResolvePackageNeeds(
      roots, [this](const std::string& name) { return Locate(name); }, SystemLeadByte);
}
