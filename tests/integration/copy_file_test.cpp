// The copy of one payload, on real files under Wine.
#include <gtest/gtest.h>

#include <windows.h>

#include <stdexcept>

#include "framework/exceptions.h"
#include "framework/win_handles.h"
#include "integration/copy_file.h"
#include "integration/fake_main_view.h"
#include "integration/game_folder.h"
#include "support/test_files.h"

namespace {

std::string CopyError(const std::string& source, const std::string& dest, TFakeMainView& view,
                      const TCopyIo& io = TCopyIo::Standard()) {
  try {
    CopyFileWithProgress(source, dest, view, io);
  } catch (const Exception& error) {
    return error.what();
  }
  return "no error";
}

// Counts the reads and lets the writes fail once a number of bytes have gone through.
struct TCountingIo {
  int Reads = 0;
  size_t Written = 0;
  size_t WriteLimit = SIZE_MAX;
  int FailReadNumber = 0;  // 1-based; 0 never

  TCopyIo Io() {
    const TCopyIo standard = TCopyIo::Standard();
    TCopyIo io;
    io.Read = [this, standard](HANDLE file, void* buffer, DWORD size, DWORD& bytesRead) {
      return ++Reads != FailReadNumber && standard.Read(file, buffer, size, bytesRead);
    };
    io.Write = [this, standard](HANDLE file, const void* data, DWORD size) {
      // A full disk takes what still fits, then refuses.
      const size_t room = WriteLimit - Written;
      const DWORD part = static_cast<DWORD>(std::min<size_t>(size, room));
      if (part > 0 && !standard.Write(file, data, part)) return false;
      Written += part;
      return part == size;
    };
    return io;
  }
};

TEST(CopyFileWithProgress, CopiesEveryByteWithOneReadPerChunkAndAFinalShortRead) {
  const size_t sizes[] = {0, 1, 16383, 16384, 16385, 3 * 1024 * 1024 + 7};
  for (size_t size : sizes) {
    TTempFolder temp;
    const std::string bytes = PayloadBytes(size, static_cast<uint32_t>(size));
    WriteFileBytes(temp.Sub("source.uxx"), bytes);
    TFakeMainView view;
    TCountingIo counting;
    CopyFileWithProgress(temp.Sub("source.uxx"), temp.Sub("Dest.ut2"), view, counting.Io());

    EXPECT_EQ(ReadFileBytes(temp.Sub("Dest.ut2")), bytes) << size;
    EXPECT_EQ(counting.Reads, static_cast<int>(size / CopyBufferSize + 1)) << size;
    EXPECT_EQ(view.ProgressRanges, std::vector<int>{static_cast<int>(size) + 5}) << size;
    ASSERT_FALSE(view.ProgressPositions.empty());
    EXPECT_EQ(view.ProgressPositions.front(), 0) << size;
    EXPECT_EQ(view.ProgressPositions.back(), static_cast<int>(size)) << size;
    EXPECT_TRUE(std::is_sorted(view.ProgressPositions.begin(), view.ProgressPositions.end())) << size;
    EXPECT_GE(view.PendingMessageCalls, 1) << size;
    EXPECT_EQ(TGameFolder::Listing(temp.Path()), (std::vector<std::string>{"Dest.ut2", "source.uxx"})) << size;
  }
}

TEST(CopyFileWithProgress, ReplacesAnExistingDestinationWithoutAQuestion) {
  TTempFolder temp;
  WriteFileBytes(temp.Sub("source.uxx"), "new content");
  WriteFileBytes(temp.Sub("Dest.utx"), "an older and longer content");
  TFakeMainView view;
  CopyFileWithProgress(temp.Sub("source.uxx"), temp.Sub("Dest.utx"), view);
  EXPECT_EQ(ReadFileBytes(temp.Sub("Dest.utx")), "new content");
  EXPECT_TRUE(view.Boxes.empty());
}

TEST(CopyFileWithProgress, ResolvesARelativeDestinationAgainstTheCurrentFolder) {
  TTempFolder temp;
  WriteFileBytes(temp.Sub("source.uxx"), "payload");
  char former[MAX_PATH];
  ::GetCurrentDirectoryA(MAX_PATH, former);
  ::SetCurrentDirectoryA(temp.Path().c_str());
  TFakeMainView view;
  CopyFileWithProgress(temp.Sub("source.uxx"), "Relative.u", view);
  ::SetCurrentDirectoryA(former);
  EXPECT_EQ(ReadFileBytes(temp.Sub("Relative.u")), "payload");
}

// Each failure leaves the destination as it was (absent or its former bytes), the source untouched
// and no partial file behind.
TEST(CopyFileWithProgress, FailuresLeaveEverythingAsItWas) {
  enum class TSetup { None, MissingSource, MissingFolder, ReadOnlyDest, DestInUse, DestIsFolder, FullDisk, FailingRead };
  const struct {
    const char* name;
    TSetup setup;
    bool existingDest;
    const char* error;
  } cases[] = {
      {"missing source", TSetup::MissingSource, false, "Error opening file"},
      {"missing source over a destination", TSetup::MissingSource, true, "Error opening file"},
      {"missing destination folder", TSetup::MissingFolder, false, "Error creating output file"},
      {"read-only destination", TSetup::ReadOnlyDest, true, "Error creating output file"},
      {"destination in use", TSetup::DestInUse, true, "Error creating output file"},
      {"destination is a folder", TSetup::DestIsFolder, false, "Error creating output file"},
      {"full disk", TSetup::FullDisk, false, "Error writing output file"},
      {"full disk over a destination", TSetup::FullDisk, true, "Error writing output file"},
      {"failing read", TSetup::FailingRead, true, "Error reading file"},
  };
  for (const auto& c : cases) {
    TTempFolder temp;
    const std::string source = temp.Sub("source.uxx");
    const std::string payload = PayloadBytes(3 * CopyBufferSize + 100, 7);
    if (c.setup != TSetup::MissingSource) WriteFileBytes(source, payload);
    const std::string dest =
        c.setup == TSetup::MissingFolder ? temp.Sub("Missing\\Dest.ut2") : temp.Sub("Maps\\", true) + "Dest.ut2";
    if (c.existingDest) WriteFileBytes(dest, "former destination");
    if (c.setup == TSetup::DestIsFolder) MakeFolders(dest);
    if (c.setup == TSetup::ReadOnlyDest) ::SetFileAttributesA(dest.c_str(), FILE_ATTRIBUTE_READONLY);
    TFileHandle reader;
    if (c.setup == TSetup::DestInUse)
      reader.Reset(::CreateFileA(dest.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    TCountingIo counting;
    if (c.setup == TSetup::FullDisk) counting.WriteLimit = CopyBufferSize + 10;
    if (c.setup == TSetup::FailingRead) counting.FailReadNumber = 2;

    TFakeMainView view;
    EXPECT_EQ(CopyError(source, dest, view, counting.Io()), c.error) << c.name;
    reader.Reset();
    if (c.existingDest) {
      EXPECT_EQ(ReadFileBytes(dest), "former destination") << c.name;
    } else if (c.setup != TSetup::DestIsFolder) {
      EXPECT_FALSE(FileExists(dest)) << c.name;
    }
    if (c.setup == TSetup::ReadOnlyDest) {
      EXPECT_TRUE(::GetFileAttributesA(dest.c_str()) & FILE_ATTRIBUTE_READONLY) << c.name;
    }
    if (c.setup != TSetup::MissingSource) {
      EXPECT_EQ(ReadFileBytes(source), payload) << c.name;
    }
    const std::vector<std::string> expected =
        c.existingDest || c.setup == TSetup::DestIsFolder ? std::vector<std::string>{"Dest.ut2"} : std::vector<std::string>{};
    if (c.setup != TSetup::MissingFolder) {
      EXPECT_EQ(TGameFolder::Listing(temp.Sub("Maps\\")), expected) << c.name;
    }
    // Nothing was read when the destination was refused up front.
    if (c.setup == TSetup::ReadOnlyDest || c.setup == TSetup::DestInUse) {
      EXPECT_EQ(counting.Reads, 0) << c.name;
    }
  }
}

}  // namespace
