// Finding the game under Wine: real keys in each hive and view, a store client with a second
// library, usual folders and the game's settings.
#include <windows.h>
#include <sddl.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "core/exceptions.h"
#include "job/game_install.h"
#include "job/game_search.h"
#include "support/test_files.h"
#include "win/handles.h"

namespace {

using namespace std::string_literals;

constexpr auto LM = TRegistryHive::LocalMachine, CU = TRegistryHive::CurrentUser;
const std::string TestKey = "SOFTWARE\\Morvane\\PellorinTests\\GameSearch";

// A key of the test's own, removed before and after.
struct TTestKey {
  TRegistryPlace Place;
  explicit TTestKey(TRegistryPlace place) : Place(std::move(place)) { Remove(); }
  ~TTestKey() { Remove(); }
  HKEY Root() const { return Place.Hive == LM ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER; }
  REGSAM View() const { return Place.View == TRegistryView::Bits32 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY; }
  void Remove() const { ::RegDeleteKeyExA(Root(), Place.Key.c_str(), View(), 0); }
  void Write(const char* value, DWORD type, const std::string& data) const {
    TRegKey key;
    ::RegCreateKeyExA(Root(), Place.Key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | View(), nullptr, key.Put(), nullptr);
    ::RegSetValueExA(key.Get(), value, 0, type, reinterpret_cast<const BYTE*>(data.c_str()), DWORD(data.size() + 1));
  }
};

class GameSearch : public ::testing::Test {
protected:
  TTempFolder temp;
  const std::string t = temp.Path();
  // The same key in both views of the machine, which Wine keeps apart as Windows does; the user's
  // Software has one view in both, so each of its places has a key of its own.
  TTestKey records[4] = {TTestKey({LM, TRegistryView::Bits32, TestKey}), TTestKey({LM, TRegistryView::Bits64, TestKey}),
                         TTestKey({CU, TRegistryView::Bits32, TestKey + "32"}),
                         TTestKey({CU, TRegistryView::Bits64, TestKey + "64"})};
  TTestKey client{{CU, TRegistryView::Bits64, TestKey + "Store"}};
  TGameSearchPlaces places{{records[0].Place, records[1].Place, records[2].Place, records[3].Place},
                           client.Place,
                           {t + "UsualBare\\", t + "Usual\\"}};

  void SetUp() override {
    std::string lib2 = t + "Lib2";
    std::replace(lib2.begin(), lib2.end(), '\\', '/');  // as the store client writes it
    const std::pair<std::string, std::string> files[] = {
        {"Lm32\\System\\x", ""}, {"Lm64\\System\\UT2004.ini", "[Core.System]\r\nPaths=../System/*.u\r\n"},
        {"Cu32\\System\\UT2004.ini", "[Core.System]\r\nCachePath=Q:\\UTCache\r\n"}, {"Cu64\\System\\x", ""},
        {"NoSystem\\Maps\\x", ""}, {"UsualBare\\System\\x", ""},
        {"Usual\\System\\UT2004.ini", "[Core.System]\r\nCachePath=../../Moved\r\n"},
        {"Lib2\\"s + GameBelowStoreLibrary + "System\\UT2004.exe", "MZ"},
        {"Client\\"s + StoreLibraryListBelowClient, R"("libraries" { "0" { "path" "C:\\None" } "1" { "path" ")" + lib2 + "\" } }"}};
    for (const auto& [path, bytes] : files) {
      const size_t cut = path.rfind('\\') + 1;
      WriteFileBytes(temp.Sub(path.substr(0, cut), true) + path.substr(cut), bytes);
    }
  }
  std::string Found() {
    try {
      const std::optional<TFoundGame> game = FindGameFolder(places);
      return game ? game->Root.substr(t.size()) + "|" + game->CacheFolder : "none";
    } catch (const Exception& error) {
      return error.what();
    }
  }
};

TEST_F(GameSearch, RecordsInOrderThenStoreLibrariesThenUsualFolders) {
  // From here a relative "Lm32" names a game: only the absolute-path rule passes it over.
  char former[MAX_PATH];
  ::GetCurrentDirectoryA(MAX_PATH, former);
  ::SetCurrentDirectoryA(t.c_str());
  // The four records (empty: no key; "#": a number in "Folder"), whether the store client is
  // recorded, and what is found: root, then cache folder.
  const std::string lib = "Lib2\\"s + GameBelowStoreLibrary;
  const struct {
    std::string lm32, lm64, cu32, cu64;
    bool store;
    std::string found;
  } cases[] = {
      {t + "Lm32", t + "Lm64", t + "Cu32", t + "Cu64", true, "Lm32\\|" + t + "Lm32\\Cache\\"},
      {"", t + "Lm64\\", t + "Cu32", t + "Cu64", true, "Lm64\\|" + t + "Lm64\\Cache\\"},
      {t + "Missing", t + "NoSystem", t + "Cu32", t + "Cu64", true, "Cu32\\|Q:\\UTCache\\"},
      {"Lm32", t + "Lm32\x01", "%TEMP%\\Cu32", t + "Cu64", true, "Cu64\\|" + t + "Cu64\\Cache\\"},
      {"", "", "", "", true, lib + "|" + t + lib + "Cache\\"},
      {t + "Missing", "", "", "", false, "Usual\\|" + t + "Moved\\"},
      {t + "Lm32", "#", "", "", false, "Lm32\\|" + t + "Lm32\\Cache\\"},
      {t + "NoSystem", "#", t + "Cu32", "", true, "Invalid data type for 'Folder'"},
      {"", "", "", "", false, "Usual\\|" + t + "Moved\\"},
  };
  for (const auto& c : cases) {
    const std::string* folders[] = {&c.lm32, &c.lm64, &c.cu32, &c.cu64};
    for (int i = 0; i < 4; ++i) {
      records[i].Remove();
      if (!folders[i]->empty()) records[i].Write("Folder", *folders[i] == "#" ? REG_DWORD : REG_SZ, *folders[i]);
    }
    client.Remove();
    if (c.store) client.Write(StoreClientFolderValue, REG_SZ, t + "Client");
    EXPECT_EQ(Found(), c.found) << c.lm32 << "|" << c.lm64 << "|" << c.cu32 << "|" << c.cu64 << "|" << c.store;
  }
  places.UsualFolders.pop_back();
  EXPECT_EQ(Found(), "none");  // a bare System folder does not make a usual folder a game
  ::SetCurrentDirectoryA(former);
}

// The store edition's record through the real places, and a record that grants reading only, as a
// locked-down machine's may: opening it for writing is refused, and it is read all the same.
TEST_F(GameSearch, StandardPlacesAndARecordThatMayOnlyBeRead) {
  const TTestKey storeEdition({CU, TRegistryView::Bits64, GameInstallKeyPath});
  storeEdition.Write("Folder", REG_SZ, t + "Cu64");
  EXPECT_EQ(FindGameFolder(TGameSearchPlaces::Standard()).value_or(TFoundGame{}).Root, t + "Cu64\\");
  records[0].Write("Folder", REG_SZ, t + "Lm32");
  TRegKey key, full;
  ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, TestKey.c_str(), 0, WRITE_DAC | KEY_WOW64_32KEY, key.Put());
  const auto grant = [&key](const char* rights) {
    PSECURITY_DESCRIPTOR granted = nullptr;
    ::ConvertStringSecurityDescriptorToSecurityDescriptorA(rights, SDDL_REVISION_1, &granted, nullptr);
    ::RegSetKeySecurity(key.Get(), DACL_SECURITY_INFORMATION, granted);
    ::LocalFree(granted);
  };
  grant("D:(A;;KR;;;WD)");
  EXPECT_EQ(::RegOpenKeyExA(HKEY_LOCAL_MACHINE, TestKey.c_str(), 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY, full.Put()),
            ERROR_ACCESS_DENIED);
  EXPECT_EQ(Found(), "Lm32\\|" + t + "Lm32\\Cache\\");
  grant("D:(A;;KA;;;WD)");  // so that the key can be removed
}

}  // namespace
