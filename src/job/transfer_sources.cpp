#include "job/transfer_sources.h"

#include "core/archive_texts.h"
#include "core/uz2.h"
#include "core/zip_archive.h"
#include "job/package_transfer_texts.h"

namespace {

// A .uz2 is read in pieces of this size rather than chunk header by chunk header.
constexpr size_t ReadPiece = 256 * 1024;

void RestoreUz2(const std::string& path, IByteSink& sink, const TShownProgress* shown) {
  TFileSource file = OpenSourceFile(path);
  TBufferedSource buffered(file, ReadPiece);
  if (!shown) {
    ReadUz2(buffered, sink);
    return;
  }
  TProgressClock clock(shown->Progress, static_cast<int64_t>(file.Size()), shown->Messages);
  TProgressSource counted(buffered, clock);
  ReadUz2(counted, sink);
  clock.Finish();
}

void ExtractMember(TZipReader& reader, size_t member, IByteSink& sink, const TShownProgress* shown) {
  if (!shown) {
    reader.Extract(member, sink);
    return;
  }
  TProgressClock clock(shown->Progress, reader.Members()[member].size, shown->Messages);
  TProgressSink counted(sink, clock);
  reader.Extract(member, counted);
  clock.Finish();
}

}  // namespace

void RefuseChosenFile(const std::string& chosenFile, const char* headline, const EArchiveError& error) {
  const std::string quoted = FormatText(TransferTexts::QuotedName, chosenFile.c_str());
  throw EArchiveError(error.Reason(), FormatText(headline, quoted.c_str(), error.what()));
}

void WritePackedPackage(const TTransferGroup& group, const TTransferItem& item, IByteSink& sink,
                        const TShownProgress* shown) {
  const bool member = item.form == TSourceForm::ArchiveMember;
  try {
    if (member)
      ExtractMember(*group.archive->reader, item.member, sink, shown);
    else
      RestoreUz2(item.source, sink, shown);
  } catch (const EArchiveError& error) {
    RefuseChosenFile(group.chosenFile, member ? ArchiveTexts::ErrorReadingArchive : ArchiveTexts::ErrorReadingCompressedFile,
                     error);
  }
}
