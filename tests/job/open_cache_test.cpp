// Open cache's three sources, with the registry and real folders under Wine.
#include <gtest/gtest.h>

#include "job/game_install.h"
#include "job/job_controller.h"
#include "job/main_job_fixture.h"

namespace {

const std::string Opened = "Select files to integrate and click Integrate!";

// An install record in the registry's 32-bit view, removed before and after.
struct TInstallRecord {
  std::string Key;
  explicit TInstallRecord(std::string key) : Key(std::move(key)) { Remove(); }
  ~TInstallRecord() { Remove(); }
  void Remove() const { ::RegDeleteKeyExA(HKEY_LOCAL_MACHINE, Key.c_str(), KEY_WOW64_32KEY, 0); }
  // REG_NONE: the key without the value.
  void Write(DWORD type, const std::string& data) const {
    if (type == REG_NONE) Remove();
    TRegKey key;
    ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, Key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY, nullptr,
                      key.Put(), nullptr);
    if (type != REG_NONE)
      ::RegSetValueExA(key.Get(), "Folder", 0, type, reinterpret_cast<const BYTE*>(data.data()), DWORD(data.size()));
  }
};

TEST(GameInstallRecord, FolderIsReadAsUnexpandedTextUpToItsNul) {
  const TInstallRecord record("SOFTWARE\\Morvane\\PellorinTests\\InstallRecord");
  const TRegistryPlace place{TRegistryHive::LocalMachine, TRegistryView::Bits32, record.Key};
  EXPECT_EQ(ReadGameInstallFolder(place), std::nullopt);
  const struct {
    DWORD type;
    std::string data, folder;
  } cases[] = {{REG_NONE, "", ""},
               {REG_SZ, std::string("C:\\Game\0junk\0", 13), "C:\\Game"},
               {REG_SZ, "D:", "D:"},
               {REG_EXPAND_SZ, std::string("%SystemDrive%\\G\0", 16), "%SystemDrive%\\G"}};
  for (const auto& c : cases) {
    record.Write(c.type, c.data);
    EXPECT_EQ(ReadGameInstallFolder(place), std::optional<std::string>(c.folder));
  }
  for (DWORD type : {REG_DWORD, REG_BINARY}) {
    record.Write(type, std::string(4, '\1'));
    EXPECT_EQ(ErrorOf([&] { ReadGameInstallFolder(place); }), "Invalid data type for 'Folder'");
  }
}

class OpenCache : public ::testing::Test {
protected:
  TGameFolder game;
  TFakeMainView view;
  TLauncher launcher;
  const TInstallRecord record{"SOFTWARE\\Morvane\\PellorinTests\\OpenCacheRecord"};
  TJobController commands{view.Seams(), [this]() -> const TAppliedPrefs& { return game.Prefs; }, launcher};
  const std::string install = game.Temp.Path() + "Install\\";

  void SetUp() override {
    commands.GameSearch = {{{TRegistryHive::LocalMachine, TRegistryView::Bits32, record.Key}}, {}, {}};
    MakeFolders(install + "System");
    MakeFolders(install + "cache");
    WriteFileBytes(install + "cache\\cache.ini", TGameFolder::Joined({Header, game.Key(1) + "=DM-Installed.ut2"}));
    WriteFileBytes(game.Index(), TGameFolder::Joined({Header, game.Key(2) + "=DM-Configured.ut2"}));
  }
  std::string Open() { return ErrorOf([this] { commands.tbOpenCacheClick(); }); }
  // What one Open cache leaves: its error's start, the game's root, the rows, the status, the dialogs.
  std::string Outcome() {
    const std::string error = Open().substr(0, 39);  // without the system's text
    std::string rows;
    for (const std::string& caption : view.Captions()) rows += caption + ";";
    return error + "|" + commands.OpenedCache().GameRoot + "|" + rows + "|" + view.Status + "|" + std::to_string(view.Dialogs.size());
  }
};

TEST_F(OpenCache, ConfiguredCacheFolderIsTheOnlySourceUsed) {
  record.Write(REG_SZ, install);
  EXPECT_EQ(Outcome(), "||DM-Configured.ut2;|initial|0");
}

TEST_F(OpenCache, FoundGameGivesTheRootBeforeTheIndexIsRead) {
  game.Prefs.CachePath.clear();
  const struct {
    DWORD type;
    std::string folder, outcome;
  } cases[] = {
      {REG_SZ, install.substr(0, install.size() - 1), "|" + install + "|DM-Installed.ut2;|" + Opened + "|0"},
      {REG_SZ, install, "|" + install + "|DM-Installed.ut2;|" + Opened + "|0"},
      // A record whose folder is not there, or holds no System folder, is passed over: no game,
      // and the game of the last opening stays.
      {REG_SZ, "Q:", "|" + install + "|kept;|initial|1"},
      {REG_SZ, install + "cache", "|" + install + "|kept;|initial|1"},
      {REG_DWORD, "1234", "Invalid data type for 'Folder'|" + install + "|kept;|initial|0"},
  };
  for (const auto& c : cases) {
    view = TFakeMainView{};
    view.Rows = {TListingRow{"kept", "", "", 0, false}};
    record.Write(c.type, c.folder);
    EXPECT_EQ(Outcome(), c.outcome);
  }
  // A record without the value names no game, not the current folder.
  record.Write(REG_NONE, "");
  char former[MAX_PATH];
  ::GetCurrentDirectoryA(MAX_PATH, former);
  ::SetCurrentDirectoryA(install.c_str());
  EXPECT_EQ(Outcome(), "|" + install + "|kept;|initial|1");
  ::SetCurrentDirectoryA(former);
  // The index of a cache the game's settings moved, and an error that leaves GameRoot set.
  WriteFileBytes(install + "System\\UT2004.ini", "[Core.System]\r\nCachePath=..\\Moved\r\n");
  record.Write(REG_SZ, install);
  EXPECT_NE(Open().find("Cannot open file \"" + install + "Moved\\cache.ini\""), std::string::npos);
  EXPECT_EQ(commands.OpenedCache().GameRoot + "|" + commands.OpenedCache().GameCache, install + "|" + install + "Moved\\");
}

TEST_F(OpenCache, WithoutARecordTheUserPicksTheIndexOrCancels) {
  game.Prefs.CachePath.clear();
  EXPECT_EQ(Outcome(), "|||initial|1");
  EXPECT_EQ(view.Dialogs, std::vector<std::string>{"Please select your UT2004 root folder|UT2K4 Cache files|*.ini"});
  view.FileToPick = install + "cache\\cache.ini";
  EXPECT_EQ(Outcome(), "|" + install + "cache\\..\\|DM-Installed.ut2;|" + Opened + "|2");
  view.FileToPick = install + "missing.ini";
  EXPECT_EQ(Outcome().substr(0, 16), "Cannot open file");
  EXPECT_EQ(commands.OpenedCache().GameRoot, install + "cache\\..\\");
}

// Saved preferences that name another cache folder open the list again from it; the same folder
// in other letters or without its backslash only lists the open index's rows again.
TEST_F(OpenCache, SavedPreferencesWithAnotherCacheFolderOpenTheListAgain) {
  Open();
  WriteFileBytes(game.Index(), TGameFolder::Joined({Header, game.Key(3) + "=DM-Added.ut2"}));
  const std::string configured = game.Prefs.CachePath;
  game.Prefs.CachePath = UpperCaseAscii(configured.substr(0, configured.size() - 1));
  commands.RelistPackages();
  EXPECT_EQ(view.Captions(), std::vector<std::string>{"DM-Configured.ut2"});
  game.Prefs.CachePath = install + "cache\\";
  commands.RelistPackages();
  EXPECT_EQ(view.Captions(), std::vector<std::string>{"DM-Installed.ut2"});
}

}  // namespace
