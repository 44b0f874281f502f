// The copy of one payload, on real files under Wine.
#include <gtest/gtest.h>

#include "job/copy_file.h"
#include "job/main_job_fixture.h"
#include "win/handles.h"

namespace {

// A system write that takes only half of what it is given and still reports success.
BOOL WINAPI HalfWriteFile(HANDLE file, LPCVOID data, DWORD size, LPDWORD written, LPOVERLAPPED overlapped) {
  return ::WriteFile(file, data, size / 2, written, overlapped);
}

// The standard file operations, counting the reads; writes fail once Limit bytes have gone, reads
// from the FailingRead-th on; RawWrite is the system's write beneath the standard one.
struct TCountingIo {
  int Reads = 0, FailingRead = 0;
  size_t Written = 0, Limit = SIZE_MAX;
  TRawWrite RawWrite = ::WriteFile;
  TCopyIo Io() {
    TCopyIo io = TCopyIo::Standard(RawWrite);
    io.Read = [this, read = io.Read](HANDLE file, void* buffer, DWORD size, DWORD& bytesRead) {
      return ++Reads != FailingRead && read(file, buffer, size, bytesRead);
    };
    io.Write = [this, write = io.Write](HANDLE file, const void* data, DWORD size) {
      Written += size;
      return Written <= Limit && write(file, data, size);
    };
    return io;
  }
};

TEST(CopyFileWithProgress, CopiesEveryByteReadingChunkByChunkUntilAShortRead) {
  for (size_t size : {size_t(0), size_t(16383), size_t(16384), size_t(16385), size_t(3 * 1024 * 1024 + 7)}) {
    TTempFolder temp;
    WriteFileBytes(temp.Sub("in.uxx"), PayloadBytes(size, 1));
    WriteFileBytes(temp.Sub("Old.ut2"), "an older destination, to be replaced");
    for (const char* dest : {"New.ut2", "Old.ut2"}) {
      TFakeMainView view;
      TCountingIo io;
      CopyFileWithProgress(temp.Sub("in.uxx"), temp.Sub(dest), view, io.Io());
      EXPECT_EQ(ReadFileBytes(temp.Sub(dest)), PayloadBytes(size, 1)) << size;
      EXPECT_EQ(io.Reads, int(size / 16384 + 1)) << size;
      EXPECT_EQ(view.Ranges, std::vector<int>{int(size) + 5});
      EXPECT_EQ(view.Positions.front(), 0);
      EXPECT_EQ(view.Positions.back(), int(size));
      EXPECT_GE(view.PendingCalls, 1);
    }
  }
}

// Every failure leaves the destination as it was, the payload untouched and no partial file.
TEST(CopyFileWithProgress, FailuresLeaveEverythingAsItWas) {
  enum TFault { MissingSource, MissingFolder, ReadOnly, InUse, Folder, FullDisk, ShortWrite, FailingRead };
  const struct {
    TFault fault;
    bool existing;
    const char* error;
  } cases[] = {
      {MissingSource, true, "Error opening file"},    {MissingFolder, false, "Error creating output file"},
      {ReadOnly, true, "Error creating output file"}, {InUse, true, "Error creating output file"},
      {Folder, false, "Error creating output file"},  {FullDisk, false, "Error writing output file"},
      {FullDisk, true, "Error writing output file"},  {ShortWrite, false, "Error writing output file"},
      {FailingRead, true, "Error reading file"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.error + std::string(" ") + std::to_string(c.fault));
    TTempFolder temp;
    const std::string source = temp.Sub("in.uxx"), payload = PayloadBytes(50000, 2);
    if (c.fault != MissingSource) WriteFileBytes(source, payload);
    const std::string folder = c.fault == MissingFolder ? temp.Sub("None\\") : temp.Sub("Maps\\", true);
    const std::string dest = folder + "Dest.ut2";
    if (c.existing) WriteFileBytes(dest, "former");
    if (c.fault == Folder) MakeFolders(dest);
    if (c.fault == ReadOnly) ::SetFileAttributesA(dest.c_str(), FILE_ATTRIBUTE_READONLY);
    TFileHandle game(c.fault == InUse ? ::CreateFileA(dest.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                                      OPEN_EXISTING, 0, nullptr)
                                      : INVALID_HANDLE_VALUE);
    TCountingIo io;
    io.Limit = c.fault == FullDisk ? 20000 : SIZE_MAX;
    io.FailingRead = c.fault == FailingRead ? 2 : 0;
    if (c.fault == ShortWrite) io.RawWrite = HalfWriteFile;
    TFakeMainView view;

    EXPECT_EQ(ErrorOf([&] { CopyFileWithProgress(source, dest, view, io.Io()); }), c.error);
    game.Reset();
    EXPECT_TRUE(!c.existing || ReadFileBytes(dest) == "former");
    EXPECT_TRUE(c.fault == MissingSource || ReadFileBytes(source) == payload);
    EXPECT_TRUE(c.fault != ReadOnly || (::GetFileAttributesA(dest.c_str()) & FILE_ATTRIBUTE_READONLY));
    EXPECT_TRUE((c.fault != ReadOnly && c.fault != InUse) || io.Reads == 0);  // refused before copying
    EXPECT_EQ(FileExists(dest), c.existing);
    EXPECT_EQ(EntriesIn(folder), c.existing || c.fault == Folder ? 1 : 0);
  }
}

}  // namespace
