#include <gtest/gtest.h>

#include <algorithm>

#include "catalogue/cache_index.h"
#include "catalogue/file_helpers.h"
#include "framework/exceptions.h"
#include "support/test_files.h"

namespace {

using Lines = std::vector<std::string>;

// Records every box; Yes/No boxes are never expected here.
class TRecordedBoxes : public IMessageBoxes {
public:
  void ShowWarning(const std::string& text) override { Warnings.push_back(text); }
  TModalResult AskWarning(const std::string& text) override { return Unexpected(text); }
  TModalResult AskConfirmation(const std::string& text) override { return Unexpected(text); }
  void ShowInformation(const std::string& text) override { Unexpected(text); }
  std::vector<std::string> Warnings;

private:
  TModalResult Unexpected(const std::string& text) {
    ADD_FAILURE() << "unexpected box: " << text;
    return TModalResult::None;
  }
};

std::string Entry(uint32_t n, const std::string& name) { return CacheGuid(n) + "-1=" + name; }

const std::string RealisticIndex = "[Cache]\r\n" + Entry(1, "DM-Rankin.ut2") + "\r\n;" + Entry(2, "Old.utx") +
                                   "\r\n\r\n" + Entry(3, "MyMutator.u") + "\r\n" + Entry(4, "DM-Rankin.ut2") + "\r\n";

std::string WithLineEnds(const std::string& crLfText, const std::string& lineEnd) {
  std::string text;
  for (size_t start = 0, end; (end = crLfText.find("\r\n", start)) != std::string::npos; start = end + 2)
    text += crLfText.substr(start, end - start) + lineEnd;
  return text;
}

std::string MessageOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const Exception& e) {
    return e.what();
  }
  return "(no error)";
}

std::string FileError(const char* verb, const std::string& path, DWORD error) {
  return std::string("Cannot ") + verb + " file \"" + FullPathOf(path) + "\". " + SystemErrorText(error);
}

std::vector<std::string> NamesIn(const TTempFolder& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA data;
  TFindHandle search(::FindFirstFileA(folder.Sub("*").c_str(), &data));
  if (search) do {
      if (std::string(data.cFileName) != "." && std::string(data.cFileName) != "..") names.push_back(data.cFileName);
    } while (::FindNextFileA(search.Get(), &data));
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

TEST(LoadCacheIndex, ReadsEveryKindOfLineEnd) {
  TTempFolder folder;
  const Lines expected = {"[Cache]", Entry(1, "DM-Rankin.ut2"), ";" + Entry(2, "Old.utx"), "",
                          Entry(3, "MyMutator.u"), Entry(4, "DM-Rankin.ut2")};
  const std::string bareLf = WithLineEnds(RealisticIndex, "\n"), bareCr = WithLineEnds(RealisticIndex, "\r");
  for (const std::string& bytes : {RealisticIndex, bareLf, bareCr, RealisticIndex.substr(0, RealisticIndex.size() - 2)}) {
    WriteFileBytes(folder.Sub("cache.ini"), bytes);
    TRecordedBoxes boxes;
    TCacheIndex index(boxes);
    index.LoadCacheIndex(folder.Sub("cache.ini"));
    EXPECT_TRUE(index.Loaded());
    EXPECT_EQ(index.CacheList(), expected) << testing::PrintToString(bytes);
    EXPECT_EQ(index.CacheDir(), folder.Path());
    EXPECT_EQ(index.CacheFileName(), "cache.ini");
    EXPECT_TRUE(boxes.Warnings.empty());
  }
}

TEST(LoadCacheIndex, WarnsOfAnEmptyCacheAndKeepsNoIndex) {
  TTempFolder folder;
  for (const std::string& bytes : {std::string(), std::string("[Cache]\r\n"), std::string("[Cache]"),
                                   std::string("\0[Cache]\r\nK-1=a.ut2\r\n", 21)}) {
    WriteFileBytes(folder.Sub("cache.ini"), bytes);
    TRecordedBoxes boxes;
    TCacheIndex index(boxes);
    index.LoadCacheIndex(folder.Sub("cache.ini"));
    EXPECT_EQ(boxes.Warnings, std::vector<std::string>{"The cache is empty."}) << testing::PrintToString(bytes);
    EXPECT_FALSE(index.Loaded());
    EXPECT_TRUE(index.CacheList().empty());
    EXPECT_EQ(index.CacheDir(), folder.Path());
    EXPECT_EQ(index.FindCacheEntry(""), -1);
  }
}

TEST(LoadCacheIndex, NamesTheFullPathWhenTheFileCannotBeOpened) {
  TTempFolder folder;
  WriteFileBytes(folder.Sub("cache.ini"), RealisticIndex);
  TRecordedBoxes boxes;
  TCacheIndex index(boxes);
  index.LoadCacheIndex(folder.Sub("cache.ini"));

  MakeFolders(folder.Sub("Folder.ini\\"));
  WriteFileBytes(folder.Sub("written.ini"), RealisticIndex);
  TFileHandle writer(::CreateFileA(folder.Sub("written.ini").c_str(), GENERIC_WRITE,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(writer);
  const struct {
    std::string path;
    DWORD error;
  } cases[] = {
      {folder.Sub("missing.ini"), ERROR_FILE_NOT_FOUND},
      {folder.Sub("NoSuchFolder\\cache.ini"), ERROR_PATH_NOT_FOUND},
      {folder.Sub("written.ini"), ERROR_SHARING_VIOLATION},  // someone may write it meanwhile
      {folder.Sub("Folder.ini"), ERROR_ACCESS_DENIED},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MessageOf([&] { index.LoadCacheIndex(c.path); }), FileError("open", c.path, c.error));
    EXPECT_TRUE(index.Loaded()) << "the list stays, emptied";
    EXPECT_TRUE(index.CacheList().empty());
    EXPECT_EQ(index.CacheDir(), folder.Path());
    EXPECT_EQ(index.CacheFileName(), "cache.ini");
    EXPECT_EQ(index.FindCacheEntry("DM-Rankin.ut2"), -1);
  }
  EXPECT_TRUE(boxes.Warnings.empty());
  EXPECT_EQ(SystemErrorText(ERROR_FILE_NOT_FOUND).back() == '.', false);
}

TEST(LoadCacheIndex, SharesTheFileWithReadersAndClosesIt) {
  TTempFolder folder;
  const std::string path = folder.Sub("cache.ini");
  WriteFileBytes(path, RealisticIndex);
  TRecordedBoxes boxes;
  TCacheIndex index(boxes);
  {
    TFileHandle reader(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(reader);
    index.LoadCacheIndex(path);
    EXPECT_EQ(index.CacheList().size(), 6u);
  }
  TFileHandle alone(::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  EXPECT_TRUE(alone) << "the load left the file open";
}

TEST(CacheIndexEntries, AreFoundMarkedAndPurgedAsLines) {
  TTempFolder folder;
  WriteFileBytes(folder.Sub("cache.ini"), RealisticIndex + "=X=Y\r\n" + Entry(5, "X") + "\r\n");
  TRecordedBoxes boxes;
  TCacheIndex index(boxes);
  EXPECT_EQ(index.FindCacheEntry("DM-Rankin.ut2"), -1) << "no index yet";
  EXPECT_THROW(index.MarkCacheEntry(0), EListError);
  index.LoadCacheIndex(folder.Sub("cache.ini"));
  EXPECT_EQ(index.FindCacheEntry("DM-Rankin.ut2"), 1);
  EXPECT_EQ(index.FindCacheEntry("dm-rankin.ut2"), -1);
  EXPECT_EQ(index.FindCacheEntry("X"), 7);
  index.MarkCacheEntry(1);
  EXPECT_EQ(index.FindCacheEntry("DM-Rankin.ut2"), 1) << "the first entry of the name, marked or not";
  index.MarkCacheEntry(6);  // "~=X=Y" is found under X now
  EXPECT_EQ(index.FindCacheEntry("X"), 6);
  EXPECT_EQ(index.FindCacheEntry("Y"), -1);
  EXPECT_EQ(MessageOf([&] { index.MarkCacheEntry(8); }), "List index out of bounds (8)");
  index.PurgeMarkedEntries();
  EXPECT_EQ(index.CacheList(), (Lines{"[Cache]", ";" + Entry(2, "Old.utx"), "", Entry(3, "MyMutator.u"),
                                     Entry(4, "DM-Rankin.ut2"), Entry(5, "X")}));
  EXPECT_EQ(index.FindCacheEntry("DM-Rankin.ut2"), 4);
  index.MutableLines()[4] = "~" + index.CacheList()[4];
  index.MutableLines().insert(index.MutableLines().begin() + 1, Entry(9, "DM-Rankin.ut2"));
  EXPECT_EQ(index.FindCacheEntry("DM-Rankin.ut2"), 1) << "changed lines are looked up afresh";
}

TEST(SaveCacheIndex, WritesEveryLineWithCrLfAndLeavesNothingElse) {
  TTempFolder folder;
  const std::string path = folder.Sub("cache.ini");
  const std::string bareLf = WithLineEnds(RealisticIndex, "\n");
  WriteFileBytes(path, bareLf.substr(0, bareLf.size() - 1));
  WriteFileBytes(folder.Sub(CacheGuid(1) + "-1.uxx"), PayloadBytes(10, 1));
  TRecordedBoxes boxes;
  TCacheIndex index(boxes);
  index.LoadCacheIndex(path);
  index.SaveCacheIndex(path);
  EXPECT_EQ(ReadFileBytes(path), RealisticIndex);
  EXPECT_EQ(NamesIn(folder), (std::vector<std::string>{CacheGuid(1) + "-1.uxx", "cache.ini"}));

  index.MarkCacheEntry(1);
  index.MarkCacheEntry(5);
  index.PurgeMarkedEntries();
  index.SaveCacheIndex(folder.Sub("new.ini"));  // a file that did not exist yet
  EXPECT_EQ(ReadFileBytes(folder.Sub("new.ini")),
            "[Cache]\r\n;" + Entry(2, "Old.utx") + "\r\n\r\n" + Entry(3, "MyMutator.u") + "\r\n");
  EXPECT_EQ(ReadFileBytes(path), RealisticIndex);
}

TEST(SaveCacheIndex, LeavesTheFormerIndexWhenItCannotBeReplaced) {
  TTempFolder folder;
  TRecordedBoxes boxes;
  TCacheIndex index(boxes);
  WriteFileBytes(folder.Sub("source.ini"), "[Cache]\r\n" + Entry(7, "CTF-Face.ut2") + "\r\n");
  index.LoadCacheIndex(folder.Sub("source.ini"));
  ::DeleteFileA(folder.Sub("source.ini").c_str());

  const std::string former = RealisticIndex;
  WriteFileBytes(folder.Sub("held.ini"), former);
  TFileHandle holder(::CreateFileA(folder.Sub("held.ini").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(holder);
  WriteFileBytes(folder.Sub("readonly.ini"), former);
  ASSERT_TRUE(::SetFileAttributesA(folder.Sub("readonly.ini").c_str(), FILE_ATTRIBUTE_READONLY));
  WriteFileBytes(folder.Sub("shared.ini"), former);
  TFileHandle sharedReader(::CreateFileA(folder.Sub("shared.ini").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                         OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(sharedReader);
  MakeFolders(folder.Sub("Folder.ini\\"));
  const std::vector<std::string> before = NamesIn(folder);

  const struct {
    std::string name;
    DWORD error;
    bool keepsBytes;
  } cases[] = {
      {"held.ini", ERROR_SHARING_VIOLATION, false},  // held unshared: its bytes cannot be read either
      {"shared.ini", ERROR_SHARING_VIOLATION, true},  // a reader that does not share writing
      {"readonly.ini", ERROR_ACCESS_DENIED, true},
      {"Folder.ini", ERROR_ACCESS_DENIED, false},
      {"NoSuchFolder\\cache.ini", ERROR_PATH_NOT_FOUND, false},
  };
  for (const auto& c : cases) {
    const std::string path = folder.Sub(c.name);
    EXPECT_EQ(MessageOf([&] { index.SaveCacheIndex(path); }), FileError("create", path, c.error)) << c.name;
    if (c.keepsBytes) {
      EXPECT_EQ(ReadFileBytes(path), former) << c.name;
    }
  }
  holder.Reset();
  EXPECT_EQ(ReadFileBytes(folder.Sub("held.ini")), former);
  EXPECT_EQ(NamesIn(folder), before) << "no temporary file stays behind";
  EXPECT_EQ(::GetFileAttributesA(folder.Sub("Folder.ini").c_str()) & FILE_ATTRIBUTE_DIRECTORY,
            static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
}

TEST(SaveCacheIndex, LeavesTheFormerIndexWhenTheWriteFails) {
  TTempFolder folder;
  const std::string path = folder.Sub("cache.ini");
  const std::string former = "[Cache]\r\n" + Entry(1, "Former.ut2") + "\r\n";
  for (const size_t failAfter : {size_t(0), size_t(1), size_t(40), size_t(1000)}) {
    WriteFileBytes(path, RealisticIndex);
    const auto failingWriter = [failAfter](HANDLE file, std::string_view bytes) {
      DWORD written = 0;
      const DWORD part = static_cast<DWORD>(std::min(failAfter, bytes.size()));
      if (part > 0) ::WriteFile(file, bytes.data(), part, &written, nullptr);
      return false;
    };
    TRecordedBoxes boxes;
    TCacheIndex index(boxes, failingWriter);
    index.LoadCacheIndex(path);
    index.MarkCacheEntry(1);
    index.PurgeMarkedEntries();
    WriteFileBytes(path, former);
    EXPECT_EQ(MessageOf([&] { index.SaveCacheIndex(path); }), "Stream write error") << failAfter;
    EXPECT_EQ(ReadFileBytes(path), former) << failAfter;
    EXPECT_EQ(NamesIn(folder), std::vector<std::string>{"cache.ini"}) << failAfter;
  }
}
