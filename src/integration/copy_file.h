#pragma once
// One file of the integration run: the payload copied to its destination in chunks, with the
// progress on the main window's progress bar and the window kept answering meanwhile.
#include <windows.h>

#include <functional>
#include <string>

class IMainView;

inline constexpr DWORD CopyBufferSize = 16384;
// The bar's maximum is the payload's size plus this, so a finished file leaves it short of full.
inline constexpr int ProgressHeadroom = 5;

// The two file operations of a copy, replaceable so that a test can count the reads or make the
// disk fill up after a number of bytes. Each returns false on failure; Write must write all of
// its bytes to succeed.
struct TCopyIo {
  std::function<bool(HANDLE file, void* buffer, DWORD size, DWORD& bytesRead)> Read;
  std::function<bool(HANDLE file, const void* data, DWORD size)> Write;

  static TCopyIo Standard();
};

// Copies Source to Dest (resolved against the current folder), flushed to disk before it returns.
// An existing Dest is replaced only by the complete copy, written beside it under a temporary
// name; so it is either replaced or left as it was. Raises Exception with "Error opening file" (Source),
// "Error creating output file" (Dest's folder missing, or an existing Dest read-only or in use;
// checked before any byte is copied), "Error reading file" or "Error writing output file"; after
// an error nothing of the copy remains.
void CopyFileWithProgress(const std::string& Source, const std::string& Dest, IMainView& view,
                          const TCopyIo& io = TCopyIo::Standard());
