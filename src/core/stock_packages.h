#pragma once
// The game's own code packages, which the bulk registration never hands to the game's tool.
#include <string>
#include <vector>

// Appends the 33 stock package names, in their fixed order.
void FillStockList(std::vector<std::string>& StockPackages);

// True when the base name of FileName (the text before its first ".") is one of StockPackages,
// ignoring the case of a..z only.
bool IsStockPackage(const std::vector<std::string>& StockPackages, const std::string& FileName);

// The base name of a package file: field 1 of its name split at ".".
std::string PackageBaseName(const std::string& FileName);
