// Open cache's three sources, with the registry and real folders under Wine.
#include <gtest/gtest.h>

#include <windows.h>

#include "catalogue/game_install.h"
#include "framework/exceptions.h"
#include "framework/win_handles.h"
#include "integration/fake_main_view.h"
#include "integration/game_folder.h"
#include "integration/launcher.h"
#include "ui/main_commands.h"

namespace {

const std::string Header = "[Cache]";
const std::string Opened = "Select files to integrate and click Integrate!";

// An install record of the test's own, in the registry's 32-bit view, removed afterwards.
class TInstallRecord {
public:
  explicit TInstallRecord(std::string keyPath) : keyPath_(std::move(keyPath)) { Remove(); }
  ~TInstallRecord() { Remove(); }
  const std::string& KeyPath() const { return keyPath_; }

  void Write(DWORD type, const std::string& data) {
    TRegKey key;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, keyPath_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY,
                                nullptr, key.Put(), nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(::RegSetValueExA(key.Get(), "Folder", 0, type, reinterpret_cast<const BYTE*>(data.data()),
                               static_cast<DWORD>(data.size())),
              ERROR_SUCCESS);
  }
  void CreateEmpty() {
    TRegKey key;
    ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, keyPath_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY, nullptr,
                      key.Put(), nullptr);
  }

private:
  void Remove() { ::RegDeleteKeyExA(HKEY_LOCAL_MACHINE, keyPath_.c_str(), KEY_WOW64_32KEY, 0); }
  std::string keyPath_;
};

std::string Text(const std::string& s) { return s + std::string(1, '\0'); }

TEST(GameInstallRecord, ReadsTheFolderValueAsTheGameSeesIt) {
  TInstallRecord record("SOFTWARE\\Morvane\\PellorinTests\\InstallRecord");
  EXPECT_EQ(ReadGameInstallFolder(record.KeyPath()), std::nullopt);
  record.CreateEmpty();
  EXPECT_EQ(ReadGameInstallFolder(record.KeyPath()), std::optional<std::string>(""));

  const struct {
    const char* name;
    DWORD type;
    std::string data;
    std::string folder;
  } cases[] = {
      {"text", REG_SZ, Text("C:\\Game"), "C:\\Game"},
      {"text up to its first NUL", REG_SZ, std::string("C:\\Game\0junk", 11) + '\0', "C:\\Game"},
      {"text without a final NUL", REG_SZ, "D:", "D:"},
      {"expandable text stays unexpanded", REG_EXPAND_SZ, Text("%SystemDrive%\\Game"), "%SystemDrive%\\Game"},
      {"empty text", REG_SZ, "", ""},
  };
  for (const auto& c : cases) {
    record.Write(c.type, c.data);
    EXPECT_EQ(ReadGameInstallFolder(record.KeyPath()), std::optional<std::string>(c.folder)) << c.name;
  }
  for (DWORD type : {DWORD(REG_DWORD), DWORD(REG_BINARY), DWORD(REG_MULTI_SZ)}) {
    record.Write(type, std::string(4, '\1'));
    try {
      ReadGameInstallFolder(record.KeyPath());
      ADD_FAILURE() << "no error for type " << type;
    } catch (const ERegistryException& error) {
      EXPECT_STREQ(error.what(), "Invalid data type for 'Folder'");
    }
  }
}

TEST(GameInstallRecord, RealKeyIsReadInThe32BitView) {
  TInstallRecord record(GameInstallKeyPath);
  record.Write(REG_SZ, Text("C:\\Games\\UT2004"));
  EXPECT_EQ(ReadGameInstallFolder(), std::optional<std::string>("C:\\Games\\UT2004"));
}

class OpenCache : public ::testing::Test {
protected:
  TGameFolder game;
  TFakeMainView view;
  TLauncher launcher;
  TInstallRecord record{"SOFTWARE\\Morvane\\PellorinTests\\OpenCacheRecord"};
  TMainCommands commands{view, [this]() -> const TAppliedPrefs& { return game.Prefs; }, launcher};
  char formerFolder[MAX_PATH] = "";

  void SetUp() override {
    commands.InstallRecordKey = record.KeyPath();
    commands.GameRoot = "former root";
    ::GetCurrentDirectoryA(MAX_PATH, formerFolder);
  }
  void TearDown() override { ::SetCurrentDirectoryA(formerFolder); }

  // A cache index "cache\cache.ini" below folder, with one entry.
  std::string WriteIndexBelow(const std::string& folder, const std::string& name) {
    MakeFolders(folder + "cache");
    WriteFileBytes(folder + "cache\\cache.ini", TGameFolder::Joined({Header, TGameFolder::Key(1) + "=" + name}));
    return folder + "cache\\cache.ini";
  }
  std::string OpenError() {
    try {
      commands.tbOpenCacheClick();
    } catch (const Exception& error) {
      return error.what();
    }
    return "";
  }
};

TEST_F(OpenCache, ConfiguredCacheFolderIsTheOnlySourceAndChangesNothingElse) {
  game.WriteIndex({Header, game.Entry(1, "DM-Configured.ut2", "m")});
  record.Write(REG_SZ, Text(game.Root + "Elsewhere"));
  EXPECT_EQ(OpenError(), "");
  EXPECT_EQ(view.Captions(), std::vector<std::string>{"DM-Configured.ut2"});
  EXPECT_EQ(commands.GameRoot, "former root");
  EXPECT_EQ(view.Status, "initial status");
  EXPECT_TRUE(view.DialogRequests.empty());
}

TEST_F(OpenCache, InstallRecordGivesTheRootAndTheIndexBelowIt) {
  game.Prefs.CachePath.clear();
  const std::string folder = game.Temp.Sub("Install\\", true);
  WriteIndexBelow(folder, "DM-Installed.ut2");
  for (const std::string& value : {folder.substr(0, folder.size() - 1), folder}) {
    SCOPED_TRACE(value);
    view = TFakeMainView{};
    commands.GameRoot.clear();
    record.Write(REG_SZ, Text(value));
    EXPECT_EQ(OpenError(), "");
    EXPECT_EQ(commands.GameRoot, folder);
    EXPECT_EQ(view.Captions(), std::vector<std::string>{"DM-Installed.ut2"});
    EXPECT_EQ(view.Status, Opened);
    EXPECT_TRUE(view.DialogRequests.empty());
  }
}

TEST_F(OpenCache, InstallRecordFailuresFollowTheOrderOfTheSteps) {
  game.Prefs.CachePath.clear();
  const struct {
    const char* name;
    DWORD type;
    std::string data;
    const char* root;  // nullptr: unchanged
    std::string errorStart;
  } cases[] = {
      {"a drive", REG_SZ, Text("Q:"), "Q:\\", "Cannot open file \"Q:\\cache\\cache.ini\""},
      {"a folder without its index", REG_SZ, Text("C:\\NoGameHere"), "C:\\NoGameHere\\",
       "Cannot open file \"C:\\NoGameHere\\cache\\cache.ini\""},
      {"not text", REG_DWORD, std::string(4, '\0'), nullptr, "Invalid data type for 'Folder'"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    view = TFakeMainView{};
    view.Rows = {TListingRow{"kept row", "", "", 0, false}};
    commands.GameRoot = "former root";
    record.Write(c.type, c.data);
    EXPECT_EQ(OpenError().substr(0, c.errorStart.size()), c.errorStart);
    EXPECT_EQ(commands.GameRoot, c.root ? c.root : "former root");
    EXPECT_EQ(view.Captions(), std::vector<std::string>{"kept row"});
    EXPECT_EQ(view.Status, "initial status");
  }
}

TEST_F(OpenCache, MissingFolderValueReadsTheIndexBelowTheCurrentFolder) {
  game.Prefs.CachePath.clear();
  record.CreateEmpty();
  WriteIndexBelow(game.Root, "DM-Current.ut2");
  ::SetCurrentDirectoryA(game.Root.c_str());
  EXPECT_EQ(OpenError(), "");
  EXPECT_EQ(commands.GameRoot, "");
  EXPECT_EQ(view.Captions(), std::vector<std::string>{"DM-Current.ut2"});
  EXPECT_EQ(view.Status, Opened);
}

TEST_F(OpenCache, WithoutARecordTheUserPicksTheIndex) {
  game.Prefs.CachePath.clear();
  const std::string picked = WriteIndexBelow(game.Root + "G\\", "DM-Picked.ut2");
  view.FileToPick = picked;
  EXPECT_EQ(OpenError(), "");
  ASSERT_EQ(view.DialogRequests.size(), 1u);
  EXPECT_EQ(view.DialogRequests[0].first, "Please select your UT2004 root folder");
  EXPECT_EQ(view.DialogRequests[0].second, "UT2K4 Cache files|*.ini");
  EXPECT_EQ(commands.GameRoot, game.Root + "G\\cache\\..\\");
  EXPECT_EQ(view.Captions(), std::vector<std::string>{"DM-Picked.ut2"});
  EXPECT_EQ(view.Status, Opened);

  // Cancelling changes nothing; a pick that cannot be read keeps the former root.
  view.FileToPick.reset();
  view.Status = "before";
  EXPECT_EQ(OpenError(), "");
  view.FileToPick = game.Root + "G\\missing.ini";
  EXPECT_EQ(OpenError().substr(0, 16), "Cannot open file");
  EXPECT_EQ(commands.GameRoot, game.Root + "G\\cache\\..\\");
  EXPECT_EQ(view.Captions(), std::vector<std::string>{"DM-Picked.ut2"});
  EXPECT_EQ(view.Status, "before");
}

TEST_F(OpenCache, EmptyIndexWarnsAndListsNothing) {
  game.Prefs.CachePath.clear();
  const std::string folder = game.Temp.Sub("Install\\", true);
  MakeFolders(folder + "cache");
  WriteFileBytes(folder + "cache\\cache.ini", Header + "\r\n");
  record.Write(REG_SZ, Text(folder));
  view.Rows = {TListingRow{"old row", "", "", 0, false}};
  EXPECT_EQ(OpenError(), "");
  EXPECT_EQ(view.BoxTexts(), std::vector<std::string>{"The cache is empty."});
  EXPECT_TRUE(view.Rows.empty());
  EXPECT_EQ(view.Status, Opened);
}

}  // namespace
