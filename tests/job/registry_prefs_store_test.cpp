// The preferences against the real registry, on a key of their own that is removed afterwards.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "core/exceptions.h"
#include "core/preferences.h"
#include "job/registry_prefs_store.h"
#include "win/handles.h"

namespace {

using namespace std::string_literals;

// A test key below HKEY_LOCAL_MACHINE whose parent is new too; the tree goes on destruction.
class TTestKey {
public:
  TTestKey()
      : top_("Software\\MorvaneTest-" + std::to_string(::GetCurrentProcessId())),
        path_(top_ + "\\Pellorin\\") {
    ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, top_.c_str());
  }
  ~TTestKey() { ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, top_.c_str()); }

  const std::string& Path() const { return path_; }
  const std::string& Top() const { return top_; }

  void Create() const {
    TRegKey key;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                nullptr, key.Put(), nullptr),
              ERROR_SUCCESS);
  }
  void Put(const char* name, DWORD type, const std::string& data) const {
    TRegKey key;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_LOCAL_MACHINE, path_.c_str(), 0, KEY_ALL_ACCESS, key.Put()),
              ERROR_SUCCESS);
    ASSERT_EQ(::RegSetValueExA(key.Get(), name, 0, type,
                               reinterpret_cast<const BYTE*>(data.data()),
                               static_cast<DWORD>(data.size())),
              ERROR_SUCCESS);
  }
  void PutDWord(const char* name, DWORD number) const {
    Put(name, REG_DWORD, std::string(reinterpret_cast<const char*>(&number), sizeof number));
  }
  // Type and raw bytes of a value; type REG_NONE with no data when it is missing.
  std::pair<DWORD, std::string> Get(const char* name) const {
    TRegKey key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, path_.c_str(), 0, KEY_READ, key.Put()) != ERROR_SUCCESS)
      return {REG_NONE, ""};
    DWORD type = REG_NONE;
    DWORD size = 0;
    if (::RegQueryValueExA(key.Get(), name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
      return {REG_NONE, ""};
    std::string data(size, '\0');
    ::RegQueryValueExA(key.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
    return {type, data};
  }
  // A key holding all eleven values, as a save leaves them.
  void PutComplete() const {
    Create();
    for (const TFolderPref& folder : FolderPrefs)
      Put(folder.ValueName, REG_SZ, "C:\\UT2004\\"s + folder.DefaultFolder + '\0');
    PutDWord(AutoRegMutatorsValueName, 1);
    PutDWord(PromptMutRegValueName, 0);
  }

private:
  std::string top_;
  std::string path_;
};

std::string MessageOf(TPreferences& prefs, void (*operation)(TPreferences&)) {
  try {
    operation(prefs);
  } catch (const ERegistryException& error) {
    return error.what();
  }
  return "(no ERegistryException)";
}

TEST(RegistryPrefsStore, SaveCreatesTheKeyWithItsParentsAndStoresRawBytes) {
  TTestKey key;
  TRegistryPrefsStore store(HKEY_LOCAL_MACHINE, key.Path());
  TPreferences prefs(store);
  prefs.Editable.FolderTexts[0] = "C:\\Maps";
  prefs.Editable.SetPromptMutsChecked(false);

  prefs.SavePrefs();

  EXPECT_EQ(key.Get("SystemPath"), std::make_pair(DWORD{REG_SZ}, "C:\\Maps\0"s));
  EXPECT_EQ(key.Get("CachePath"), std::make_pair(DWORD{REG_SZ}, "\0"s));
  EXPECT_EQ(key.Get("AutoRegMutators"), std::make_pair(DWORD{REG_DWORD}, "\1\0\0\0"s));
  EXPECT_EQ(key.Get("PromptMutReg"), std::make_pair(DWORD{REG_DWORD}, "\0\0\0\0"s));
}

TEST(RegistryPrefsStore, LoadsStoredTexts) {
  TTestKey key;
  key.PutComplete();
  key.Put("SystemPath", REG_SZ, "C:\\Games\\UT2004\\System\0"s);
  key.Put("MapPath", REG_EXPAND_SZ, "%TEMP%\\x\0"s);
  key.Put("TexturePath", REG_SZ, "\0"s);
  key.Put("SoundPath", REG_SZ, "");
  TRegKey open;
  ASSERT_EQ(::RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.Path().c_str(), 0, KEY_ALL_ACCESS, open.Put()),
            ERROR_SUCCESS);
  ASSERT_EQ(::RegDeleteValueA(open.Get(), "MusicPath"), ERROR_SUCCESS);
  open.Reset();
  key.PutDWord(PromptMutRegValueName, 2);

  TRegistryPrefsStore store(HKEY_LOCAL_MACHINE, key.Path());
  TPreferences prefs(store);
  ASSERT_TRUE(prefs.LoadPrefs());

  EXPECT_EQ(prefs.Editable.FolderTexts[0], "C:\\Games\\UT2004\\System");
  EXPECT_EQ(prefs.Applied.SystemPath, "C:\\Games\\UT2004\\System\\");
  EXPECT_EQ(prefs.Editable.FolderTexts[1], "%TEMP%\\x");
  EXPECT_EQ(prefs.Applied.MapPath, "%TEMP%\\x\\");
  EXPECT_EQ(prefs.Applied.TexturePath, "");
  EXPECT_EQ(prefs.Applied.SoundPath, "");
  EXPECT_EQ(prefs.Applied.MusicPath, "");
  EXPECT_EQ(prefs.Applied.CachePath, "C:\\UT2004\\Cache\\");
  EXPECT_TRUE(prefs.Applied.AutoRegMutators);
  EXPECT_TRUE(prefs.Applied.PromptMutReg);
}

TEST(RegistryPrefsStore, LoadFailures) {
  struct TCase {
    const char* Name;
    DWORD Type;  // REG_NONE: the value is deleted
    std::string Data;
    const char* Message;
  };
  const TCase cases[] = {
      {"text one", REG_SZ, "1\0"s, "Invalid data type for 'AutoRegMutators'"},
      {"eight bytes", REG_BINARY, "\1\0\0\0\0\0\0\0"s, "Failed to get data for 'AutoRegMutators'"},
      {"missing", REG_NONE, "", "Failed to get data for 'AutoRegMutators'"},
  };
  for (const TCase& c : cases) {
    TTestKey key;
    key.PutComplete();
    if (c.Type == REG_NONE) {
      TRegKey open;
      ASSERT_EQ(::RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.Path().c_str(), 0, KEY_ALL_ACCESS,
                                open.Put()),
                ERROR_SUCCESS);
      ASSERT_EQ(::RegDeleteValueA(open.Get(), AutoRegMutatorsValueName), ERROR_SUCCESS);
    } else {
      key.Put(AutoRegMutatorsValueName, c.Type, c.Data);
    }
    TRegistryPrefsStore store(HKEY_LOCAL_MACHINE, key.Path());
    TPreferences prefs(store);

    EXPECT_EQ(MessageOf(prefs, [](TPreferences& p) { p.LoadPrefs(); }), c.Message) << c.Name;
    EXPECT_EQ(prefs.Editable.FolderTexts[8], "C:\\UT2004\\Cache\\") << c.Name;
    EXPECT_EQ(prefs.Applied, TAppliedPrefs{}) << c.Name;
  }
}

TEST(RegistryPrefsStore, AbsentKeyLoadsNothing) {
  TTestKey key;
  TRegistryPrefsStore store(HKEY_LOCAL_MACHINE, key.Path());
  TPreferences prefs(store);
  prefs.Editable.FolderTexts[0] = "typed";
  EXPECT_FALSE(prefs.LoadPrefs());
  EXPECT_EQ(prefs.Editable.FolderTexts[0], "typed");
  EXPECT_EQ(key.Get("SystemPath").first, DWORD{REG_NONE});
}

TEST(RegistryPrefsStore, WriteRefusedThroughReadOnlyAccess) {
  TTestKey key;
  key.PutComplete();
  TRegistryPrefsStore store(HKEY_LOCAL_MACHINE, key.Path(), KEY_READ);
  TPreferences prefs(store);
  ASSERT_TRUE(prefs.LoadPrefs());  // reading needs no more than read access
  prefs.Editable.FolderTexts[0] = "changed";

  EXPECT_EQ(MessageOf(prefs, [](TPreferences& p) { p.SavePrefs(); }),
            "Failed to set data for 'SystemPath'");
  EXPECT_EQ(key.Get("SystemPath").second, "C:\\UT2004\\System\\\0"s);
}

}  // namespace
