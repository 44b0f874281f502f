#include "job/version_check.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "job/folder_listing.h"
#include "job/job_texts.h"
#include "job/transfer_sources.h"
#include "win/file_streams.h"
#include "win/files.h"

namespace {

constexpr size_t ComparePiece = 65536;
constexpr const char* KeptFolderName = "Replaced\\";
constexpr const char* NoGuidFolderName = "NoGuid";
// Versions of one name and GUID kept side by side ("<GUID>", "<GUID>-2", ...) before giving up.
constexpr int MaxKeptCopies = 1000;

// The file's version; its size as listed, or asked of the file where no listing knows it.
TFileVersion VersionOf(TFileSource& file, TFolderListings& listings, const std::string& path) {
  TFileVersion version;
  const int64_t listed = listings.SizeOf(FolderOf(path), FileNameOf(path));
  version.size = listed >= 0 ? static_cast<std::uint64_t>(listed) : file.Size();
  std::string first(PackageIdentityBytes, '\0');
  first.resize(ReadAtFully(file, 0, first.data(), first.size()));
  version.guid = PackageGuidOf(first);
  return version;
}

bool SameBytes(IRandomAccessSource& a, IRandomAccessSource& b, std::uint64_t size) {
  std::vector<char> x(ComparePiece), y(ComparePiece);
  for (std::uint64_t at = 0; at < size; at += ComparePiece) {
    const auto n = static_cast<size_t>(std::min<std::uint64_t>(ComparePiece, size - at));
    if (ReadAtFully(a, at, x.data(), n) != n || ReadAtFully(b, at, y.data(), n) != n) return false;
    if (std::memcmp(x.data(), y.data(), n) != 0) return false;
  }
  return true;
}

// Packed bytes as they come out: their count, the first of them, and whether they are the
// installed file's bytes so far.
class TExaminingSink : public IByteSink {
public:
  explicit TExaminingSink(IRandomAccessSource& installed) : installed_(installed) {}
  void Write(const char* data, size_t size) override {
    first_.append(data, std::min(size, PackageIdentityBytes - std::min(first_.size(), PackageIdentityBytes)));
    if (equal_) {
      buffer_.resize(size);
      equal_ = ReadAtFully(installed_, count_, buffer_.data(), size) == size && std::memcmp(buffer_.data(), data, size) == 0;
    }
    count_ += size;
  }
  TFileVersion Version() const { return {count_, PackageGuidOf(first_)}; }
  bool Equal() const { return equal_; }

private:
  IRandomAccessSource& installed_;
  std::string first_;
  std::vector<char> buffer_;
  std::uint64_t count_ = 0;
  bool equal_ = true;
};

}  // namespace

bool IsSameVersion(const TTransferGroup& group, const TTransferItem& item, TFolderListings& listings,
                   TVersionConflict& versions) {
  TFileSource installed(item.target, JobTexts::ErrorReadingFile);
  versions.installedRead = installed.Opened();
  if (!versions.installedRead) return false;
  versions.installed = VersionOf(installed, listings, item.target);
  if (item.form == TSourceForm::File) {
    TFileSource incoming(item.source, JobTexts::ErrorReadingFile);
    versions.incomingRead = incoming.Opened();
    if (!versions.incomingRead) return false;
    versions.incoming = VersionOf(incoming, listings, item.source);
    const TVersionMatch match = MatchVersions(versions.installed, versions.incoming);
    const bool same = match == TVersionMatch::Same ||
                      (match == TVersionMatch::CompareBytes && SameBytes(installed, incoming, versions.installed.size));
    versions.bytesRead = installed.BytesRead() + incoming.BytesRead();
    return same;
  }
  TExaminingSink examined(installed);
  WritePackedPackage(group, item, examined, nullptr);
  versions.incomingRead = true;
  versions.incoming = examined.Version();
  versions.bytesRead = installed.BytesRead();
  const TVersionMatch match = MatchVersions(versions.installed, versions.incoming);
  return match == TVersionMatch::Same || (match == TVersionMatch::CompareBytes && examined.Equal());
}

std::string KeptPlaceOf(const std::string& target, const TVersionConflict& versions) {
  const std::string kept = FolderOf(target) + KeptFolderName;
  if (!::CreateDirectoryA(kept.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS) return {};
  const std::string version =
      versions.installedRead && versions.installed.guid ? GuidKeyText(*versions.installed.guid) : NoGuidFolderName;
  const std::string name = FileNameOf(target);
  for (int copy = 1; copy <= MaxKeptCopies; ++copy) {
    std::string folder = kept + version;
    if (copy > 1) folder.append("-").append(std::to_string(copy));
    folder += '\\';
    if (!::CreateDirectoryA(folder.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS) return {};
    if (::GetFileAttributesA((folder + name).c_str()) == INVALID_FILE_ATTRIBUTES) return folder + name;
  }
  return {};
}
