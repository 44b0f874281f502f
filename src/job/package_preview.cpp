#include "job/package_preview.h"

#include <windows.h>

#include "core/exceptions.h"
#include "core/index_lines.h"
#include "core/safe_names.h"
#include "job/cache_index.h"
#include "job/cache_index_texts.h"
#include "job/job_texts.h"
#include "job/package_check_texts.h"
#include "win/file_streams.h"
#include "win/files.h"

std::optional<TPreviewRequest> PreviewRequestOf(const TCacheIndex& index, const std::string& realName) {
  const int line = index.FindCacheEntry(realName);
  if (line < 0) return std::nullopt;
  const std::string key = ExtractField(1, index.CacheList()[line], "=");
  TPreviewRequest request{realName, {}, GetPackageKind(realName, SystemLeadByte)};
  if (IsSafeCacheKey(key, index.CacheDir(), SystemLeadByte))
    request.payloadPath = index.CacheDir() + key + PayloadExtension;
  return request;
}

TPackageContents ReadPreview(const TPreviewRequest& request, const TContentsLimits& limits) {
  TPackageContents contents;
  if (request.payloadPath.empty()) {
    contents.failure = PackageCheckTexts::NoPayload;
    return contents;
  }
  TFileSource source(request.payloadPath, JobTexts::ErrorReadingFile, TFileSharing::ReadersAndDeletion);
  if (!source.Opened()) {
    contents.failure = FileErrorText(CannotOpenFileText, request.payloadPath, ::GetLastError());
    return contents;
  }
  try {
    return ReadPackageContents(source, request.kind, limits);
  } catch (const std::exception& error) {
    // A read error of the disk, or no memory for a picture: this package is not shown, the next may be.
    contents.failure = error.what();
    return contents;
  }
}
