#pragma once
// A cache of packages built to the game's layout, each under the key of its GUID: a map needing a
// texture and code, a chain, a loop, installed packages, a version without GUID, damaged payloads.
#include "core/package_builder.h"
#include "job/main_job_fixture.h"

enum class TPayloadForm { Package, NoGuid, Truncated, RandomBytes, OtherKey, Large, Missing };
struct TTablePackage {
  std::string realName;
  std::vector<std::string> needs;
  TPayloadForm form = TPayloadForm::Package;
};

inline std::vector<TTablePackage> PackageTable() {
  std::vector<TTablePackage> table = {
      {"DM-Pyramid.ut2", {"PyramidTex", "PyramidCode", "Engine"}}, {"PyramidTex.utx", {"Engine"}},
      {"PyramidCode.u", {"core", "Engine", "PyramidSounds", "XGameTextures"}}, {"PyramidSounds.uax", {}},
      {"ChainA.usx", {"ChainB"}}, {"ChainB.usx", {"ChainC"}}, {"ChainC.usx", {"ChainD", "Engin?", "Tab\tbed"}},
      {"LoopA.ukx", {"LoopB"}}, {"LoopB.ukx", {"LoopA", "Installed"}},
      {"DM-Old.ut2", {"OldTex"}}, {"OldTex.utx", {"Engine"}, TPayloadForm::NoGuid},
      {"DM-Broken.ut2", {"Cut", "Noise", "Installed", "Gone"}}, {"Cut.utx", {"Engine"}, TPayloadForm::Truncated},
      {"Noise.utx", {}, TPayloadForm::RandomBytes}, {"Installed.utx", {}}, {"Gone.utx", {}, TPayloadForm::Missing},
      {"Wrong.ut2", {"PyramidSounds"}, TPayloadForm::OtherKey}, {"Big.usx", {"Engine"}, TPayloadForm::Large},
      {"DM-Many.ut2", {}}};
  const size_t many = table.size() - 1;
  for (int i = 0; i < 25; ++i) {
    table[many].needs.push_back("Many" + std::to_string(i));
    table.push_back({"Many" + std::to_string(i) + ".utx", {}});
  }
  return table;
}

// The payloads, the index (LF line ends, a final empty line) and the installed packages, whose
// letter case the file system ignores.
inline void WritePackageCache(const TGameFolder& game) {
  for (const std::string& installed : {game.Prefs.SystemPath + "Engine.u", game.Prefs.SystemPath + "CORE.U",
                                       game.Prefs.TexturePath + "xgametextures.utx", game.Prefs.TexturePath + "Installed.utx"})
    WriteFileBytes(installed, "");
  std::string index = Header + "\n";
  uint32_t n = 0;
  for (const auto& [realName, needs, form] : PackageTable()) {
    const TPackageBuilder package{.version = uint16_t(form == TPayloadForm::NoGuid ? 67 : 128),
                                  .guid = {++n, 0x5B7E41C6, 0xA8D2F0B9, 0xE1C4A7D3},
                                  .imports = ImportsNeeding(needs),
                                  .fillerBytes = form == TPayloadForm::Large ? size_t(1) << 20 : 16};
    const bool ownKey = form == TPayloadForm::Package || form == TPayloadForm::Large;
    const std::string key = (ownKey ? GuidKeyText(package.guid) : CacheGuid(n)) + "-1";
    std::string bytes = form == TPayloadForm::RandomBytes ? PayloadBytes(4096, n) : package.Build();
    if (form == TPayloadForm::Truncated) bytes.resize(40);  // ends inside the GUID
    if (form != TPayloadForm::Missing) WriteFileBytes(game.Prefs.CachePath + key + ".uxx", bytes);
    index += key + "=" + realName + "\n";
  }
  WriteFileBytes(game.Index(), index + "\n");
}
