// Finding the game: real registry keys in each hive and view, a store client with a second
// library, usual folders and the game's settings, under Wine.
#include <gtest/gtest.h>

#include <windows.h>
#include <sddl.h>

#include <algorithm>

#include "core/exceptions.h"
#include "core/memory_prefs_store.h"
#include "core/preferences.h"
#include "job/first_run.h"
#include "job/game_install.h"
#include "job/game_search.h"
#include "support/test_files.h"
#include "win/handles.h"

namespace {

constexpr auto LM = TRegistryHive::LocalMachine;
constexpr auto CU = TRegistryHive::CurrentUser;
constexpr auto V32 = TRegistryView::Bits32;
constexpr auto V64 = TRegistryView::Bits64;

// A key of the test's own, removed before and after; Write(REG_NONE) leaves it without values.
struct TTestKey {
  TRegistryPlace Place;
  explicit TTestKey(TRegistryPlace place) : Place(std::move(place)) { Remove(); }
  ~TTestKey() { Remove(); }
  HKEY Root() const { return Place.Hive == LM ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER; }
  REGSAM View() const { return Place.View == V32 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY; }
  void Remove() const { ::RegDeleteKeyExA(Root(), Place.Key.c_str(), View(), 0); }
  void Write(const char* value, DWORD type, const std::string& data) const {
    TRegKey key;
    ::RegCreateKeyExA(Root(), Place.Key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | View(), nullptr, key.Put(), nullptr);
    if (type != REG_NONE)
      ::RegSetValueExA(key.Get(), value, 0, type, reinterpret_cast<const BYTE*>(data.c_str()), DWORD(data.size() + 1));
  }
};

const std::string TestKey = "SOFTWARE\\Morvane\\PellorinTests\\GameSearch";

class GameSearch : public ::testing::Test {
protected:
  TTempFolder temp;
  // The same key in both views of the local machine, which Wine keeps apart as Windows does; the
  // user's hive has one view for Software, so each of its places has a key of its own.
  TTestKey records[4] = {TTestKey({LM, V32, TestKey}), TTestKey({LM, V64, TestKey}),
                         TTestKey({CU, V32, TestKey + "32"}), TTestKey({CU, V64, TestKey + "64"})};
  TTestKey client{{CU, V64, TestKey + "Store"}};
  TGameSearchPlaces places{{records[0].Place, records[1].Place, records[2].Place, records[3].Place},
                           client.Place,
                           {temp.Sub("UsualBare\\"), temp.Sub("Usual\\")}};

  void SetUp() override {
    for (const char* bare : {"Lm32", "Lm64", "Cu32", "Cu64", "UsualBare", "NoSystem\\Maps"})
      MakeFolders(temp.Sub(std::string(bare) + "\\System"));
    Write("Usual\\System\\", "UT2004.ini", "[Core.System]\r\nCachePath=../../Moved\r\n");
    Write("Lib2\\steamapps\\common\\Unreal Tournament 2004\\System\\", "UT2004.exe", "MZ");
    // The client's own library has no game; its list names the second library, with '/'.
    std::string lib2 = temp.Sub("Lib2");
    std::replace(lib2.begin(), lib2.end(), '\\', '/');
    Write("Client\\steamapps\\", "libraryfolders.vdf",
          "\"libraryfolders\" { \"0\" { \"path\" \"C:\\\\NoGameHere\" } \"1\" { \"path\" \"" + lib2 + "\" } }");
  }
  void Write(const std::string& folder, const std::string& name, const std::string& bytes) const {
    WriteFileBytes(temp.Sub(folder, true) + name, bytes);
  }
  std::string Found() {
    try {
      const std::optional<TFoundGame> game = FindGameFolder(places);
      if (!game) return "none";
      return game->Root.substr(temp.Path().size()) + "|" + game->CacheFolder;
    } catch (const Exception& error) {
      return error.what();
    }
  }
};

TEST_F(GameSearch, RecordsInOrderThenStoreLibrariesThenUsualFolders) {
  const std::string t = temp.Path();
  const std::string ctl = t + "Lm32\x01";
  // From here a relative "Lm32" names a game: only the absolute-path rule passes it over.
  char former[MAX_PATH];
  ::GetCurrentDirectoryA(MAX_PATH, former);
  ::SetCurrentDirectoryA(t.c_str());
  // The four records (empty: no key; "#": a number in "Folder"), whether the store client is
  // recorded, and what is found.
  const struct {
    std::string lm32, lm64, cu32, cu64;
    bool store;
    std::string found;
  } cases[] = {
      {t + "Lm32", t + "Lm64", t + "Cu32", t + "Cu64", true, "Lm32\\|" + t + "Lm32\\Cache\\"},
      {"", t + "Lm64\\", t + "Cu32", t + "Cu64", true, "Lm64\\|" + t + "Lm64\\Cache\\"},
      {t + "Missing", t + "NoSystem", t + "Cu32", t + "Cu64", true, "Cu32\\|" + t + "Cu32\\Cache\\"},
      {"Lm32", ctl, "%TEMP%\\Cu32", t + "Cu64", true, "Cu64\\|" + t + "Cu64\\Cache\\"},
      {"", "", "", "", true, "Lib2\\steamapps\\common\\Unreal Tournament 2004\\|" + t +
                                 "Lib2\\steamapps\\common\\Unreal Tournament 2004\\Cache\\"},
      {t + "Missing", "", "", "", false, "Usual\\|" + t + "Moved\\"},
      {t + "Lm32", "#", "", "", false, "Lm32\\|" + t + "Lm32\\Cache\\"},
      {t + "NoSystem", "#", t + "Cu32", "", true, "Invalid data type for 'Folder'"},
  };
  for (const auto& c : cases) {
    const std::string* folders[] = {&c.lm32, &c.lm64, &c.cu32, &c.cu64};
    for (int i = 0; i < 4; ++i) {
      records[i].Remove();
      if (!folders[i]->empty()) records[i].Write("Folder", *folders[i] == "#" ? REG_DWORD : REG_SZ, *folders[i]);
    }
    client.Remove();
    if (c.store) client.Write("SteamPath", REG_SZ, t + "Client");
    EXPECT_EQ(Found(), c.found) << c.lm32 << "|" << c.lm64 << "|" << c.cu32 << "|" << c.cu64 << "|" << c.store;
  }
  for (const TTestKey& key : records) key.Remove();
  client.Remove();
  places.UsualFolders.pop_back();
  EXPECT_EQ(Found(), "none");  // a bare System folder does not make a usual folder a game
  ::SetCurrentDirectoryA(former);
}

TEST_F(GameSearch, TheGameSettingsNameTheCacheFolder) {
  const std::string root = temp.Sub("Lm32\\");
  const struct {
    const char* ini;
    std::string cache;
  } cases[] = {
      {nullptr, root + "Cache\\"},
      {"[Core.System]\r\nPaths=../System/*.u\r\n", root + "Cache\\"},
      {"[Core.System]\r\nCachePath=../Cache\r\n", root + "Cache\\"},
      {"[Core.System]\r\nCachePath=..\\Downloads\\UT\r\n", root + "Downloads\\UT\\"},
      {"[Core.System]\r\nCachePath=Q:\\UTCache\r\n", "Q:\\UTCache\\"},
      {"[Core.System]\r\nCachePath=Q:UTCache\r\n", root + "Cache\\"},
  };
  for (const auto& c : cases) {
    ::DeleteFileA((root + "System\\UT2004.ini").c_str());
    if (c.ini) WriteFileBytes(root + "System\\UT2004.ini", c.ini);
    EXPECT_EQ(GameCacheFolder(root), c.cache) << (c.ini ? c.ini : "no file");
  }
}

TEST_F(GameSearch, TheStandardPlacesReadTheGamesOwnRecords) {
  for (const TRegistryHive hive : {LM, CU}) {
    const TTestKey real({hive, V32, GameInstallKeyPath});
    real.Write("Folder", REG_SZ, temp.Sub("Cu64"));
    const std::optional<TFoundGame> game = FindGameFolder(TGameSearchPlaces::Standard());
    EXPECT_EQ(game ? game->Root : "none", temp.Sub("Cu64\\"));
  }
}

// A record that grants reading only, as a locked-down machine's may: opening it for writing is
// refused, and the game is found all the same.
TEST_F(GameSearch, ARecordThatMayOnlyBeReadIsRead) {
  records[0].Write("Folder", REG_SZ, temp.Sub("Lm32"));
  TRegKey key;
  ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, TestKey.c_str(), 0, WRITE_DAC | KEY_WOW64_32KEY, key.Put());
  const auto grant = [&key](const char* rights) {
    PSECURITY_DESCRIPTOR granted = nullptr;
    ::ConvertStringSecurityDescriptorToSecurityDescriptorA(rights, SDDL_REVISION_1, &granted, nullptr);
    const LONG status = ::RegSetKeySecurity(key.Get(), DACL_SECURITY_INFORMATION, granted);
    ::LocalFree(granted);
    return status;
  };
  ASSERT_EQ(grant("D:(A;;KR;;;WD)"), ERROR_SUCCESS);
  TRegKey full;
  EXPECT_EQ(::RegOpenKeyExA(HKEY_LOCAL_MACHINE, TestKey.c_str(), 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY, full.Put()),
            ERROR_ACCESS_DENIED);
  EXPECT_EQ(Found(), "Lm32\\|" + temp.Path() + "Lm32\\Cache\\");
  grant("D:(A;;KA;;;WD)");  // so that the key can be removed
}

class THost : public IPrefsHost {
public:
  std::string Cache;
  void OpenCache() override {}
  std::string GameRoot() const override { return "C:\\Game\\"; }
  std::string GameCacheFolder() const override { return Cache; }
  void RelistPackages() override {}
};

TEST(DefaultPaths, TheCacheFolderIsTheOneTheFoundGameUses) {
  TMemoryPrefsStore store;
  TPreferences prefs(store);
  THost host;
  for (const std::string cache : {"", "D:\\Moved\\"}) {
    host.Cache = cache;
    FillDefaultPathsFromGame(prefs, host);
    EXPECT_EQ(prefs.Editable.FolderTexts.back(), cache.empty() ? "C:\\Game\\Cache\\" : cache);
    EXPECT_EQ(prefs.Editable.FolderTexts[1], "C:\\Game\\Maps\\");
  }
}

}  // namespace
