#include "job/game_search.h"

#include <windows.h>

#include <algorithm>

#include "core/absolute_paths.h"
#include "core/game_ini.h"
#include "core/vdf_library_folders.h"
#include "job/game_install.h"
#include "win/files.h"

namespace {

constexpr const char* SystemFolder = "System\\";
constexpr const char* GameSettingsFile = "UT2004.ini";
constexpr const char* GameProgramFile = "UT2004.exe";
constexpr const char* DefaultCacheFolder = "Cache\\";
// The game's settings and the library list are a few kilobytes: anything far larger is no such file.
constexpr LONGLONG SmallFileLimit = 4 << 20;

// path with '\' for every '/' (the store client writes '/'; it is never a trail byte) and a
// trailing '\', when it is absolute and free of control bytes; otherwise nothing.
std::optional<std::string> UsableFolder(std::string path) {
  std::replace(path.begin(), path.end(), '/', '\\');
  path = AddTrailingBackslash(path);
  if (!IsAbsolutePathWithoutControlBytes(path, SystemLeadByte)) return std::nullopt;
  return path;
}

bool IsFolder(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool HoldsGame(const std::string& root) {
  return IsFilePresent(root + SystemFolder + GameSettingsFile) || IsFilePresent(root + SystemFolder + GameProgramFile);
}

// The store client's own folder, then every library its list names.
std::vector<std::string> StoreLibraries(const TRegistryPlace& client) {
  const std::optional<std::string> recorded = ReadStoreClientFolder(client);
  const std::optional<std::string> folder = recorded ? UsableFolder(*recorded) : std::nullopt;
  if (!folder) return {};
  std::vector<std::string> libraries{*folder};
  if (const std::optional<std::string> list = ReadSmallFile(*folder + StoreLibraryListBelowClient))
    for (const std::string& path : ReadLibraryFolderPaths(*list))
      if (const std::optional<std::string> ansi = AnsiOfUtf8(path)) libraries.push_back(AddTrailingBackslash(*ansi));
  return libraries;
}

std::optional<std::string> EnvironmentValue(const char* name) {
  char value[MAX_PATH];
  const DWORD length = ::GetEnvironmentVariableA(name, value, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return std::nullopt;
  return std::string(value, length);
}

TFoundGame Found(const std::string& root) { return {root, GameCacheFolder(root)}; }

}  // namespace

TGameSearchPlaces TGameSearchPlaces::Standard() {
  TGameSearchPlaces places;
  for (const TRegistryHive hive : {TRegistryHive::LocalMachine, TRegistryHive::CurrentUser})
    for (const TRegistryView view : {TRegistryView::Bits32, TRegistryView::Bits64})
      places.InstallRecords.push_back({hive, view, GameInstallKeyPath});
  places.StoreClient = {TRegistryHive::CurrentUser, TRegistryView::Bits64, StoreClientKeyPath};
  places.UsualFolders.assign(std::begin(UsualGameFolders), std::end(UsualGameFolders));
  for (const char* variable : ProgramFilesVariables)
    if (const std::optional<std::string> programFiles = EnvironmentValue(variable))
      places.UsualFolders.push_back(AddTrailingBackslash(*programFiles) + UsualFolderBelowProgramFiles);
  return places;
}

std::optional<TFoundGame> FindGameFolder(const TGameSearchPlaces& places) {
  for (const TRegistryPlace& record : places.InstallRecords) {
    const std::optional<std::string> folder = ReadGameInstallFolder(record);
    if (!folder) continue;
    const std::optional<std::string> root = UsableFolder(*folder);
    if (root && IsFolder(*root + SystemFolder)) return Found(*root);
  }
  std::vector<std::string> candidates;
  for (const std::string& library : StoreLibraries(places.StoreClient))
    candidates.push_back(library + GameBelowStoreLibrary);
  candidates.insert(candidates.end(), places.UsualFolders.begin(), places.UsualFolders.end());
  for (const std::string& candidate : candidates) {
    const std::optional<std::string> root = UsableFolder(candidate);
    if (root && HoldsGame(*root)) return Found(*root);
  }
  return std::nullopt;
}

std::optional<std::string> ReadSmallFile(const std::string& path) {
  const TFileHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size{};
  if (!file || !::GetFileSizeEx(file.Get(), &size) || size.QuadPart > SmallFileLimit) return std::nullopt;
  std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
  DWORD got = 0;
  if (!bytes.empty() && !::ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr))
    return std::nullopt;
  bytes.resize(got);
  return bytes;
}

std::string GameSettingsPath(const std::string& root) { return root + SystemFolder + GameSettingsFile; }

std::string GameCacheFolder(const std::string& root) {
  const std::string system = root + SystemFolder;
  if (const std::optional<std::string> ini = ReadSmallFile(system + GameSettingsFile))
    if (const std::optional<std::string> cachePath = ReadGameCachePath(*ini))
      if (const std::optional<std::string> folder = ResolveCacheFolder(*cachePath, system, SystemLeadByte))
        return *folder;
  return root + DefaultCacheFolder;
}
