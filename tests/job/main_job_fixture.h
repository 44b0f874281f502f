#pragma once
// What the main job's tests share: a scripted main window, a game folder with its preferences and
// cache below a temporary folder, and the stand-in for the game's tool in its System folder.
#include <windows.h>

#include <algorithm>
#include <deque>
#include <functional>

#include "core/applied_prefs.h"
#include "core/exceptions.h"
#include "job/job_seams.h"
#include "job/mutator_registration.h"
#include "support/test_files.h"
#include "win/handles.h"
#include "win/launcher.h"

// Records what the operations show ("warning: ...", "ask: ...", "confirm: ...", "info: ...") and
// answers from a script (Yes when it runs out).
class TFakeMainView : public IPackageRows,
                      public IStatusLine,
                      public IProgress,
                      public IMessageBoxes,
                      public ICacheFilePicker {
public:
  TJobSeams Seams() { return {*this, *this, *this, *this, *this}; }
  std::deque<TModalResult> Answers;
  std::optional<std::string> FileToPick;
  std::function<void()> OnPendingMessages;
  std::function<void(const std::string&)> OnStatusText;
  std::vector<std::string> Boxes, Statuses, Dialogs;
  std::string Status = "initial";
  std::vector<bool> Visibility;
  std::vector<int> Ranges, Positions;
  std::vector<TListingRow> Rows;
  int PendingCalls = 0;

  std::vector<std::string> Captions() const {
    std::vector<std::string> captions;
    for (const TListingRow& row : Rows) captions.push_back(row.Caption);
    return captions;
  }
  void ShowWarning(const std::string& text) override { Boxes.push_back("warning: " + text); }
  TModalResult AskWarning(const std::string& text) override { return Ask("ask: " + text); }
  TModalResult AskConfirmation(const std::string& text) override { return Ask("confirm: " + text); }
  void ShowInformation(const std::string& text) override { Boxes.push_back("info: " + text); }
  void SetStatusText(const std::string& text) override {
    Statuses.push_back(Status = text);
    if (OnStatusText) OnStatusText(text);
  }
  void SetProgressVisible(bool visible) override { Visibility.push_back(visible); }
  void SetProgressRange(int maximum) override { Ranges.push_back(maximum); }
  void SetProgressPosition(int position) override { Positions.push_back(position); }
  int RowCount() const override { return static_cast<int>(Rows.size()); }
  std::string RowCaption(int row) const override { return Rows.at(row).Caption; }
  bool RowTicked(int row) const override { return Rows.at(row).Ticked; }
  void SetRowTicked(int row, bool ticked) override { Rows.at(row).Ticked = ticked; }
  void ReplaceRows(std::vector<TListingRow> rows) override { Rows = std::move(rows); }
  std::optional<std::string> PickCacheIndexFile(const std::string& title, const std::string& filter) override {
    Dialogs.push_back(title + "|" + filter);
    return FileToPick;
  }
  void ProcessPendingMessages() override {
    ++PendingCalls;
    if (OnPendingMessages) OnPendingMessages();
  }

private:
  TModalResult Ask(const std::string& box) {
    Boxes.push_back(box);
    if (Answers.empty()) return TModalResult::Yes;
    const TModalResult answer = Answers.front();
    Answers.pop_front();
    return answer;
  }
};

inline const std::string Header = "[Cache]";

// "<root>Game\" with the nine folders, the preferences naming them, and the stand-in tool.
struct TGameFolder {
  TTempFolder Temp;
  std::string Root = Temp.Sub("Game\\", true);
  TAppliedPrefs Prefs{Made("System\\"), Made("Maps\\"),     Made("Textures\\"),     Made("Sounds\\"),   Made("Music\\"),
                      Made("StaticMeshes\\"), Made("Animations\\"), Made("KarmaData\\"), Made("Cache\\"), false, false};

  TGameFolder() {
    std::string tool = PN_STAND_IN_UCC;
    std::replace(tool.begin(), tool.end(), '/', '\\');
    ::CopyFileA(tool.c_str(), (Prefs.SystemPath + "ucc.exe").c_str(), FALSE);
  }
  std::string Made(const std::string& relative) const { return Temp.Sub("Game\\" + relative, true); }
  std::string Index() const { return Prefs.CachePath + "cache.ini"; }
  static std::string Key(uint32_t n) { return CacheGuid(n) + "-1"; }
  std::string Payload(uint32_t n) const { return Prefs.CachePath + Key(n) + ".uxx"; }
  // An entry line whose payload file is written with the given bytes.
  std::string Entry(uint32_t n, const std::string& name, const std::string& bytes) const {
    WriteFileBytes(Payload(n), bytes);
    return Key(n) + "=" + name;
  }
  static std::string Joined(const std::vector<std::string>& lines, const std::string& end = "\r\n") {
    std::string text;
    for (const std::string& line : lines) text += line + end;
    return text;
  }
  // The stand-in tool's runs, "<working folder>|<arguments>" each.
  std::vector<std::string> ToolCalls() const {
    std::vector<std::string> calls;
    const std::string log = Prefs.SystemPath + "ucc-calls.log";
    const std::string text = FileExists(log) ? ReadFileBytes(log) : "";
    for (size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
      calls.push_back(text.substr(start, end - start));
    std::sort(calls.begin(), calls.end());
    return calls;
  }
  std::string ToolCall(const std::string& arguments) const {
    return Prefs.SystemPath.substr(0, Prefs.SystemPath.size() - 1) + "|" + arguments;
  }
};

// The main window's launcher, as its description configures it.
struct TGameToolLauncher : TLauncher {
  TGameToolLauncher() { ConfigureGameToolLauncher(*this); }
};

// How many entries a folder holds, "." and ".." aside.
inline int EntriesIn(const std::string& folder) {
  int count = 0;
  WIN32_FIND_DATAA entry;
  TFindHandle search(::FindFirstFileA((folder + "*").c_str(), &entry));
  for (bool found = search.Valid(); found; found = ::FindNextFileA(search.Get(), &entry))
    count += std::string(entry.cFileName) != "." && std::string(entry.cFileName) != "..";
  return count;
}

template <typename Action>
std::string ErrorOf(Action action) {
  try {
    action();
  } catch (const Exception& error) {
    return error.what();
  }
  return "";
}
