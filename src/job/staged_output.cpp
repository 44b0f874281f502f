#include "job/staged_output.h"

#include "core/exceptions.h"
#include "job/job_texts.h"

TStagedSink::TStagedSink(std::string dest, TStagingFolders& staging, const TCopyIo& io)
    : dest_(std::move(dest)), file_(dest_, staging), io_(io) {
  if (!file_.Created()) throw Exception(JobTexts::ErrorCreatingOutputFile);
  sink_.emplace(file_.Handle(), io_.Write, JobTexts::ErrorWritingOutputFile);
}

void TStagedSink::Write(const char* data, size_t size) {
  sink_->Write(data, size);
}

void TStagedSink::Commit() {
  if (!io_.Flush(file_.Handle())) throw Exception(JobTexts::ErrorWritingOutputFile);
  if (!file_.Commit(dest_)) throw Exception(JobTexts::ErrorCreatingOutputFile);
}

TFileSource OpenSourceFile(const std::string& path) {
  TFileSource source(path, JobTexts::ErrorReadingFile);
  if (!source.Opened()) throw Exception(JobTexts::ErrorOpeningFile);
  return source;
}
