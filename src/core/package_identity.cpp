#include "core/package_identity.h"

#include "core/little_endian.h"

namespace {

constexpr std::uint32_t PackageSignature = 0x9E2A83C1;
// From this version on the header holds the GUID, after the signature, the version, the flags and
// the three tables' counts and offsets.
constexpr std::uint16_t FirstVersionWithGuid = 68;
constexpr size_t GuidOffset = 36;

}  // namespace

std::optional<TPackageGuid> PackageGuidOf(std::string_view firstBytes) {
  if (firstBytes.size() < PackageIdentityBytes || LoadLe32(firstBytes.data()) != PackageSignature) return std::nullopt;
  if (LoadLe16(firstBytes.data() + 4) < FirstVersionWithGuid) return std::nullopt;
  TPackageGuid guid;
  for (size_t word = 0; word < guid.size(); ++word) guid[word] = LoadLe32(firstBytes.data() + GuidOffset + 4 * word);
  return guid;
}

TVersionMatch MatchVersions(const TFileVersion& installed, const TFileVersion& incoming) {
  if (installed.guid && incoming.guid)
    return *installed.guid == *incoming.guid && installed.size == incoming.size ? TVersionMatch::Same
                                                                                : TVersionMatch::Different;
  return installed.size == incoming.size ? TVersionMatch::CompareBytes : TVersionMatch::Different;
}
