#pragma once
// One file copied with the progress on the progress bar and the window kept answering meanwhile,
// through the staged writer every command uses (staged_output.h).
#include <string>

#include "job/staged_output.h"

class IProgress;

// Copies Source to Dest (resolved against the current folder), flushed to disk before it returns.
// The copy is written in the staging folder and takes Dest's name only once complete and flushed,
// so Dest is either the complete copy or as it was (absent, or the former file). Raises Exception
// with "Error opening file" (Source), "Error creating output file" (Dest's folder missing, or an
// existing Dest read-only or in use: checked before any byte is copied), "Error reading file" or
// "Error writing output file"; after an error nothing of the copy remains.
void CopyFileWithProgress(const std::string& Source, const std::string& Dest, IProgress& progress,
                          const TCopyIo& io, TStagingFolders& staging);
// The same with staging folders of its own, made and removed for this one copy.
void CopyFileWithProgress(const std::string& Source, const std::string& Dest, IProgress& progress,
                          const TCopyIo& io = TCopyIo::Standard());
