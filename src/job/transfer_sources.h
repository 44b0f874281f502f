#pragma once
// The bytes of a package file that comes packed: a chosen .uz2 file restored, a member of a chosen
// zip archive extracted. The plan reads them to compare versions, the run to write them.
#include "core/archive_error.h"
#include "core/byte_streams.h"
#include "job/staged_output.h"
#include "job/transfer_plan.h"

// The progress bar and the message clock that bytes on their way to a file move.
struct TShownProgress {
  IProgress& Progress;
  TMessageClock& Messages;
};

// Writes the package bytes of item (of form Uz2File or ArchiveMember) to sink, moving the bar when
// shown is given. Faulty bytes raise EArchiveError headed by the chosen file's name, as
// RefuseChosenFile gives it; the sink has then had some of them, to be discarded.
void WritePackedPackage(const TTransferGroup& group, const TTransferItem& item, IByteSink& sink,
                        const TShownProgress* shown);

// Raises error again, headed by the name of the chosen file it was found in: headline is "Error
// reading compressed file %s: %s" for a .uz2, "Error reading archive %s: %s" for an archive.
[[noreturn]] void RefuseChosenFile(const std::string& chosenFile, const char* headline, const EArchiveError& error);
