// The preferences' three operations against the in-memory store.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

#include "core/exceptions.h"
#include "core/memory_prefs_store.h"
#include "core/preferences.h"

namespace {

using namespace std::string_literals;

std::string MessageOf(const std::function<void()>& operation) {
  try {
    operation();
  } catch (const ERegistryException& error) {
    return error.what();
  }
  return "(no ERegistryException)";
}

// A store holding a complete set of values as a previous save would leave them.
TMemoryPrefsStore CompleteStore() {
  TMemoryPrefsStore store;
  store.KeyExists = true;
  for (const TFolderPref& folder : FolderPrefs)
    store.PutString(folder.ValueName, "C:\\UT2004\\"s + folder.DefaultFolder);
  store.PutDWord(AutoRegMutatorsValueName, 1);
  store.PutDWord(PromptMutRegValueName, 1);
  return store;
}

// Editable and applied copies that differ from anything the tests store.
void MarkPrevious(TPreferences& prefs) {
  for (auto& text : prefs.Editable.FolderTexts) text = "previous";
  prefs.Editable.SetRegMutsChecked(false);
  prefs.Editable.SetPromptMutsChecked(false);
  prefs.Applied.MapPath = "previous\\";
  prefs.Applied.AutoRegMutators = true;
}

TEST(Preferences, AbsentOrRefusedKeyLoadsNothing) {
  for (const bool refused : {false, true}) {
    TMemoryPrefsStore store = CompleteStore();
    store.KeyExists = refused;  // absent, or present but refused
    store.RefuseOpen = refused;
    TPreferences prefs(store);
    MarkPrevious(prefs);
    const TEditablePrefs editableBefore = prefs.Editable;
    const TAppliedPrefs appliedBefore = prefs.Applied;

    EXPECT_FALSE(prefs.LoadPrefs()) << "refused " << refused;
    EXPECT_EQ(prefs.Editable, editableBefore);
    EXPECT_EQ(prefs.Applied, appliedBefore);
    EXPECT_FALSE(store.KeyOpen());
  }
}

struct TFolderCase {
  const char* Name;
  std::optional<TStoredValue> Stored;  // nothing: the value is missing
  std::string EditText;
  std::string Applied;
};

TEST(Preferences, FolderValuesLoadRawAndApplyNormalised) {
  const TFolderCase cases[] = {
      {"no final backslash", TStoredValue{TPrefsValueType::String, "C:\\Games\\UT2004\\System\0"s},
       "C:\\Games\\UT2004\\System", "C:\\Games\\UT2004\\System\\"},
      {"drive", TStoredValue{TPrefsValueType::String, "D:\0"s}, "D:", "D:\\"},
      {"single letter", TStoredValue{TPrefsValueType::String, "X\0"s}, "X", "X"},
      {"just the zero byte", TStoredValue{TPrefsValueType::String, "\0"s}, "", ""},
      {"size zero", TStoredValue{TPrefsValueType::String, ""}, "", ""},
      {"missing", std::nullopt, "", ""},
      {"expandable, kept literally", TStoredValue{TPrefsValueType::ExpandString, "%TEMP%\\x\0"s},
       "%TEMP%\\x", "%TEMP%\\x\\"},
      {"text ends at the first zero", TStoredValue{TPrefsValueType::String, "C:\\A\0junk\0"s},
       "C:\\A", "C:\\A\\"},
      {"no terminating zero", TStoredValue{TPrefsValueType::String, "C:\\B"}, "C:\\B", "C:\\B\\"},
      {"zero-sized number reads as empty", TStoredValue{TPrefsValueType::DWord, ""}, "", ""},
  };
  for (const TFolderCase& c : cases) {
    TMemoryPrefsStore store = CompleteStore();
    if (c.Stored)
      store.Values["MapPath"] = *c.Stored;
    else
      store.Values.erase("MapPath");
    TPreferences prefs(store);

    ASSERT_TRUE(prefs.LoadPrefs()) << c.Name;
    EXPECT_EQ(prefs.Editable.FolderTexts[1], c.EditText) << c.Name;
    EXPECT_EQ(prefs.Applied.MapPath, c.Applied) << c.Name;
    EXPECT_EQ(prefs.Applied.TexturePath, "C:\\UT2004\\Textures\\") << c.Name;
  }
}

// Each stored value reaches its own applied folder, whichever order the program keeps them in.
TEST(Preferences, EveryStoredFolderIsAppliedToItsOwnPreference) {
  const std::pair<const char*, std::string TAppliedPrefs::*> folders[] = {
      {"SystemPath", &TAppliedPrefs::SystemPath},   {"MapPath", &TAppliedPrefs::MapPath},
      {"TexturePath", &TAppliedPrefs::TexturePath}, {"SoundPath", &TAppliedPrefs::SoundPath},
      {"MusicPath", &TAppliedPrefs::MusicPath},     {"MeshPath", &TAppliedPrefs::MeshPath},
      {"AnimationPath", &TAppliedPrefs::AnimationPath}, {"KarmaPath", &TAppliedPrefs::KarmaPath},
      {"CachePath", &TAppliedPrefs::CachePath},
  };
  TMemoryPrefsStore store = CompleteStore();
  for (const auto& [name, member] : folders) store.PutString(name, "D:\\"s + name);
  TPreferences prefs(store);
  ASSERT_TRUE(prefs.LoadPrefs());
  for (const auto& [name, member] : folders) EXPECT_EQ(prefs.Applied.*member, "D:\\"s + name + "\\") << name;
}

TEST(Preferences, FolderOfAnotherTypeFailsTheLoad) {
  for (const TPrefsValueType type : {TPrefsValueType::DWord, TPrefsValueType::Binary}) {
    TMemoryPrefsStore store = CompleteStore();
    store.Values["SoundPath"] = TStoredValue{type, "\1\0\0\0"s};
    TPreferences prefs(store);
    EXPECT_EQ(MessageOf([&] { prefs.LoadPrefs(); }), "Invalid data type for 'SoundPath'");
    EXPECT_EQ(prefs.Editable.FolderTexts[2], "C:\\UT2004\\Textures\\");
    EXPECT_EQ(prefs.Editable.FolderTexts[3], "");
    EXPECT_FALSE(store.KeyOpen());
  }
}

struct TOptionCase {
  const char* Name;
  std::optional<TStoredValue> Stored;
  const char* Failure;  // nullptr: loads
  bool Checked;
};

TEST(Preferences, OptionValues) {
  const TOptionCase cases[] = {
      {"one", TStoredValue{TPrefsValueType::DWord, "\1\0\0\0"s}, nullptr, true},
      {"zero", TStoredValue{TPrefsValueType::DWord, "\0\0\0\0"s}, nullptr, false},
      {"two counts as checked", TStoredValue{TPrefsValueType::DWord, "\2\0\0\0"s}, nullptr, true},
      {"short number", TStoredValue{TPrefsValueType::DWord, "\0\1"s}, nullptr, true},
      {"text one", TStoredValue{TPrefsValueType::String, "1\0"s}, "Invalid data type for '%s'",
       false},
      {"longer than four bytes", TStoredValue{TPrefsValueType::Binary, "\1\0\0\0\0\0\0\0"s},
       "Failed to get data for '%s'", false},
      {"long text: length before type", TStoredValue{TPrefsValueType::String, "12345\0"s},
       "Failed to get data for '%s'", false},
      {"missing", std::nullopt, "Failed to get data for '%s'", false},
  };
  for (const char* valueName : {AutoRegMutatorsValueName, PromptMutRegValueName}) {
    for (const TOptionCase& c : cases) {
      TMemoryPrefsStore store = CompleteStore();
      if (c.Stored)
        store.Values[valueName] = *c.Stored;
      else
        store.Values.erase(valueName);
      TPreferences prefs(store);
      const bool isAutoReg = std::string(valueName) == AutoRegMutatorsValueName;

      if (c.Failure) {
        EXPECT_EQ(MessageOf([&] { prefs.LoadPrefs(); }), FormatText(c.Failure, valueName))
            << valueName << ": " << c.Name;
        // The folders were placed before the options were read; nothing was applied.
        EXPECT_EQ(prefs.Editable.FolderTexts[8], "C:\\UT2004\\Cache\\") << c.Name;
        EXPECT_EQ(prefs.Applied, TAppliedPrefs{}) << valueName << ": " << c.Name;
      } else {
        ASSERT_TRUE(prefs.LoadPrefs()) << valueName << ": " << c.Name;
        EXPECT_EQ(isAutoReg ? prefs.Applied.AutoRegMutators : prefs.Applied.PromptMutReg, c.Checked)
            << valueName << ": " << c.Name;
        EXPECT_EQ(isAutoReg ? prefs.Editable.RegMutsChecked() : prefs.Editable.PromptMutsChecked(),
                  c.Checked)
            << valueName << ": " << c.Name;
      }
      EXPECT_FALSE(store.KeyOpen());
    }
  }
}

TEST(Preferences, UncheckingAutoRegDisablesThePromptWhichStillLoadsAsStored) {
  TMemoryPrefsStore store = CompleteStore();
  store.PutDWord(AutoRegMutatorsValueName, 0);
  store.PutDWord(PromptMutRegValueName, 1);
  TPreferences prefs(store);
  ASSERT_TRUE(prefs.Editable.RegMutsChecked());
  ASSERT_TRUE(prefs.Editable.PromptMutsEnabled());

  ASSERT_TRUE(prefs.LoadPrefs());
  EXPECT_FALSE(prefs.Editable.RegMutsChecked());
  EXPECT_FALSE(prefs.Editable.PromptMutsEnabled());
  EXPECT_TRUE(prefs.Editable.PromptMutsChecked());
  EXPECT_FALSE(prefs.Applied.AutoRegMutators);
  EXPECT_TRUE(prefs.Applied.PromptMutReg);

  prefs.SavePrefs();
  EXPECT_EQ(store.Values[PromptMutRegValueName].Data, "\1\0\0\0"s);

  store.PutDWord(AutoRegMutatorsValueName, 1);
  ASSERT_TRUE(prefs.LoadPrefs());
  EXPECT_TRUE(prefs.Editable.PromptMutsEnabled());
}

TEST(Preferences, SaveWritesRawTextsAndNumbersAndCreatesTheKey) {
  TMemoryPrefsStore store;
  TPreferences prefs(store);
  prefs.Editable.FolderTexts[0] = "C:\\Maps";
  prefs.Editable.FolderTexts[8] = "D:";
  prefs.Editable.SetPromptMutsChecked(false);

  prefs.SavePrefs();

  EXPECT_TRUE(store.KeyExists);
  EXPECT_FALSE(store.KeyOpen());
  EXPECT_EQ(store.Values.size(), 11u);
  for (size_t i = 0; i < FolderPrefs.size(); ++i) {
    const std::string text = i == 0 ? "C:\\Maps" : i == 8 ? "D:" : "";
    EXPECT_EQ(store.Values[FolderPrefs[i].ValueName].Type, TPrefsValueType::String) << i;
    EXPECT_EQ(store.Values[FolderPrefs[i].ValueName].Data, text + '\0') << i;
  }
  EXPECT_EQ(store.Values[AutoRegMutatorsValueName].Type, TPrefsValueType::DWord);
  EXPECT_EQ(store.Values[AutoRegMutatorsValueName].Data, "\1\0\0\0"s);
  EXPECT_EQ(store.Values[PromptMutRegValueName].Data, "\0\0\0\0"s);
  EXPECT_EQ(prefs.Applied, TAppliedPrefs{});
}

TEST(Preferences, SaveStopsAtTheFirstRefusedValue) {
  struct TCase {
    const char* Name;
    bool RefuseOpen;
    const char* RefusedValue;
    const char* Message;
    size_t WrittenBefore;
  };
  const TCase cases[] = {
      {"key cannot be created", true, "", "Failed to set data for 'SystemPath'", 0},
      {"third folder refused", false, "TexturePath", "Failed to set data for 'TexturePath'", 2},
      {"last option refused", false, "PromptMutReg", "Failed to set data for 'PromptMutReg'", 10},
  };
  for (const TCase& c : cases) {
    TMemoryPrefsStore store;
    store.RefuseOpen = c.RefuseOpen;
    store.RefusedWrites.insert(c.RefusedValue);
    TPreferences prefs(store);
    EXPECT_EQ(MessageOf([&] { prefs.SavePrefs(); }), c.Message) << c.Name;
    EXPECT_EQ(store.Values.size(), c.WrittenBefore) << c.Name;
    EXPECT_FALSE(store.KeyOpen()) << c.Name;
  }
}

TEST(Preferences, SavedPrefsLoadBackAsTyped) {
  TMemoryPrefsStore store;
  TPreferences saved(store);
  FillDefaultPaths(saved.Editable, "E:\\Games\\UT2004\\");
  saved.Editable.FolderTexts[4] = "E:\\Music";
  saved.Editable.SetRegMutsChecked(false);
  saved.SavePrefs();

  TPreferences loaded(store);
  ASSERT_TRUE(loaded.LoadPrefs());
  EXPECT_EQ(loaded.Editable, saved.Editable);
  EXPECT_EQ(loaded.Applied.MusicPath, "E:\\Music\\");
  EXPECT_EQ(loaded.Applied.KarmaPath, "E:\\Games\\UT2004\\KarmaData\\");
  EXPECT_FALSE(loaded.Applied.AutoRegMutators);
  EXPECT_TRUE(loaded.Applied.PromptMutReg);
}

TEST(PrefsModel, DefaultPathsFillEveryFolderAndLeaveTheOptions) {
  TEditablePrefs prefs;
  prefs.SetRegMutsChecked(false);
  prefs.SetPromptMutsChecked(false);
  FillDefaultPaths(prefs, "C:\\UT2004\\");
  const char* expected[] = {"C:\\UT2004\\System\\",       "C:\\UT2004\\Maps\\",
                            "C:\\UT2004\\Textures\\",     "C:\\UT2004\\Sounds\\",
                            "C:\\UT2004\\Music\\",        "C:\\UT2004\\StaticMeshes\\",
                            "C:\\UT2004\\Animations\\",   "C:\\UT2004\\KarmaData\\",
                            "C:\\UT2004\\Cache\\"};
  for (size_t i = 0; i < FolderPrefs.size(); ++i) EXPECT_EQ(prefs.FolderTexts[i], expected[i]);
  EXPECT_FALSE(prefs.RegMutsChecked());
  EXPECT_FALSE(prefs.PromptMutsChecked());
  EXPECT_FALSE(prefs.PromptMutsEnabled());
}

}  // namespace
