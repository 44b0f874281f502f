#include "core/stock_packages.h"

#include "core/text_rules.h"

void FillStockList(std::vector<std::string>& StockPackages) {
  static const char* const Names[] = {
      "BonusPack",  "UT2k4Assault", "XWeapons",   "Core",          "UT2k4AssaultFull", "XWeapons_rc",
      "Editor",     "UTClassic",    "XWebAdmin",  "Engine",        "UTV2004c",         "Fire",
      "UTV2004s",   "GamePlay",     "UWeb",       "GUI2K4",        "Vehicles",         "IpDrv",
      "XAdmin",     "Onslaught",    "XEffects",   "OnslaughtFull", "XGame",            "SkaarjPack",
      "XGame_rc",   "SkaarjPack_rc", "XInterface", "StreamLineFX", "XPickups",         "UnrealEd",
      "XPickups_rc", "UnrealGame",  "XVoting"};
  StockPackages.insert(StockPackages.end(), std::begin(Names), std::end(Names));
}

std::string PackageBaseName(const std::string& FileName) { return ExtractField(1, FileName, "."); }

bool IsStockPackage(const std::vector<std::string>& StockPackages, const std::string& FileName) {
  const std::string base = UpperCaseAscii(PackageBaseName(FileName));
  for (const std::string& stock : StockPackages)
    if (UpperCaseAscii(stock) == base) return true;
  return false;
}
