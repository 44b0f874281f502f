#pragma once
// A cache of packages built to the game's layout, shared by the job and window tests of what
// packages need: a map needing a texture and a code package, a chain, a loop, stock and installed
// packages, a version without GUID, damaged payloads and a key that names another package.
#include <string>
#include <vector>

#include "core/package_builder.h"
#include "job/main_job_fixture.h"

enum class TPayloadForm { Package, NoGuid, Truncated, RandomBytes, OtherKey, Large };

struct TTablePackage {
  std::string realName;
  std::vector<std::string> needs;
  TPayloadForm form = TPayloadForm::Package;
};

inline std::vector<TTablePackage> PackageTable() {
  std::vector<TTablePackage> table = {
      {"DM-Pyramid.ut2", {"PyramidTex", "PyramidCode", "Engine"}},
      {"PyramidTex.utx", {"Engine"}},
      {"PyramidCode.u", {"core", "Engine", "PyramidSounds", "XGameTextures"}},
      {"PyramidSounds.uax", {}},
      {"ChainA.usx", {"ChainB"}}, {"ChainB.usx", {"ChainC"}}, {"ChainC.usx", {"ChainD"}},
      {"LoopA.ukx", {"LoopB"}}, {"LoopB.ukx", {"LoopA", "Installed"}},
      {"DM-Old.ut2", {"OldTex"}}, {"OldTex.utx", {"Engine"}, TPayloadForm::NoGuid},
      {"DM-Broken.ut2", {"Cut", "Noise", "Installed"}},
      {"Cut.utx", {"Engine"}, TPayloadForm::Truncated}, {"Noise.utx", {}, TPayloadForm::RandomBytes},
      {"Installed.utx", {}},
      {"Wrong.ut2", {"PyramidSounds"}, TPayloadForm::OtherKey},
      {"Big.usx", {"Engine"}, TPayloadForm::Large},
      {"DM-Many.ut2", {}}};
  for (int i = 0; i < 25; ++i) {
    table.back().needs.push_back("Many" + std::to_string(i));
    table.push_back({"Many" + std::to_string(i) + ".utx", {}});
  }
  return table;
}

// Writes the table's payloads and index ("[Cache]", LF line ends and a final empty line) and the
// installed packages, letter case as the file system ignores it.
inline void WritePackageCache(const TGameFolder& game) {
  for (const std::string& installed : {game.Prefs.SystemPath + "Engine.u", game.Prefs.SystemPath + "CORE.U",
                                       game.Prefs.TexturePath + "xgametextures.utx", game.Prefs.TexturePath + "Installed.utx"})
    WriteFileBytes(installed, "");
  std::string index = Header + "\n";
  uint32_t n = 0;
  for (const TTablePackage& entry : PackageTable()) {
    TPackageBuilder package{.version = entry.form == TPayloadForm::NoGuid ? uint16_t{67} : uint16_t{128},
                            .guid = {++n, 0x5B7E41C6, 0xA8D2F0B9, 0xE1C4A7D3},
                            .imports = ImportsNeeding(entry.needs),
                            .fillerBytes = entry.form == TPayloadForm::Large ? size_t(1) << 20 : 16};
    const bool ownKey = entry.form == TPayloadForm::Package || entry.form == TPayloadForm::Large;
    const std::string key = (ownKey ? GuidKeyText(package.guid) : CacheGuid(n)) + "-1";
    std::string bytes = entry.form == TPayloadForm::RandomBytes ? PayloadBytes(4096, n) : package.Build();
    if (entry.form == TPayloadForm::Truncated) bytes.resize(40);  // ends inside the GUID
    WriteFileBytes(game.Prefs.CachePath + key + ".uxx", bytes);
    index += key + "=" + entry.realName + "\n";
  }
  WriteFileBytes(game.Index(), index + "\n");
}
