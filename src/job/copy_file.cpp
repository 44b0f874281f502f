#include "job/copy_file.h"

#include "win/files.h"

void CopyFileWithProgress(const std::string& Source, const std::string& Dest, IProgress& progress, const TCopyIo& io) {
  TStagingFolders staging;
  CopyFileWithProgress(Source, Dest, progress, io, staging);
}

void CopyFileWithProgress(const std::string& Source, const std::string& Dest, IProgress& progress, const TCopyIo& io,
                          TStagingFolders& staging) {
  TMessageClock messages;  // the first piece of every file looks at the queue
  StageCopy(Source, FullPathOf(Dest), staging, io, progress, messages)->Commit();
}
