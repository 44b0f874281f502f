#pragma once
// A compressed file or an archive whose bytes are not what they should be, or that this program
// cannot make. The text is one of ArchiveTexts' reasons, filled in; the caller puts it under a
// headline with the file's name.
#include <initializer_list>
#include <string>

#include "core/exceptions.h"

class EArchiveError : public Exception {
public:
  EArchiveError(const char* reason, const std::string& text) : Exception(text), reason_(reason) {}
  // The reason's unfilled text from archive_texts.h, which tells the refusals apart (by its
  // content: a text's address may differ between files).
  const char* Reason() const { return reason_; }

private:
  const char* reason_;
};

// Throws reason with its "%s" filled by args in order.
[[noreturn]] void RefuseArchive(const char* reason, std::initializer_list<std::string> args = {});
