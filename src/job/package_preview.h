#pragma once
// What a cached package holds (core/package_contents.h), read from its payload for the preview
// pane and the details. The request is made from the open index on the window's thread; the
// reading needs nothing else, so it may run on any thread.
#include <optional>
#include <string>

#include "core/package_contents.h"

class TCacheIndex;

struct TPreviewRequest {
  std::string realName;
  std::string payloadPath;  // empty when the key is no safe name
  TPackageKind kind = pkOther;
  bool operator==(const TPreviewRequest&) const = default;
};

// The request for the package of the first entry line naming realName; nothing when no line does.
std::optional<TPreviewRequest> PreviewRequestOf(const TCacheIndex& index, const std::string& realName);

// Reads what the payload holds; a payload that cannot be opened or read gives the reason in
// failure. The payload is opened for reading and shared with readers and with deletion, so that a
// run integrating it meanwhile copies and deletes it as it would otherwise.
TPackageContents ReadPreview(const TPreviewRequest& request, const TContentsLimits& limits);
