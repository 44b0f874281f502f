#pragma once
// A game folder with the main window's commands over it, and its whole-folder snapshot: the tests
// of the main job's faults and of its run plans prove that exactly the expected files changed and
// every other file kept its bytes.
#include <map>
#include <optional>
#include <set>

#include "job/job_controller.h"
#include "job/job_texts.h"
#include "job/main_job_fixture.h"
#include "win/files.h"

struct TPackage {
  uint32_t n;  // its cache key is TGameFolder::Key(n)
  std::string name;
  size_t size;
  bool ticked;
  std::optional<std::string> bytes = {};  // when not given: size bytes of PayloadBytes
  std::string Bytes() const { return bytes ? *bytes : PayloadBytes(size, n); }
};

using TTree = std::map<std::string, std::string>;  // path below the game folder: its bytes

// What the stand-in tool writes, and the file that holds it running, belong to the tool's own
// tests; everything else below the game folder is compared.
inline bool IsToolFile(const std::string& relative) {
  if (relative.rfind("System\\", 0) != 0) return false;
  return relative == "System\\ucc-calls.log" || relative == "System\\ucc-wait" ||
         (relative.size() > 4 && relative.compare(relative.size() - 4, 4, ".ucl") == 0);
}

inline void ReadTree(const std::string& root, const std::string& relative, TTree& tree) {
  WIN32_FIND_DATAA data;
  TFindHandle search(::FindFirstFileA((root + relative + "*").c_str(), &data));
  for (bool found = search.Valid(); found; found = ::FindNextFileA(search.Get(), &data)) {
    const std::string name = data.cFileName;
    if (name == "." || name == "..") continue;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      ReadTree(root, relative + name + "\\", tree);
    else if (!IsToolFile(relative + name))
      tree[relative + name] = ReadFileBytes(root + relative + name);
  }
}

inline std::vector<std::string> Differences(const TTree& expected, const TTree& actual) {
  std::vector<std::string> differences;
  for (const auto& [path, bytes] : expected) {
    const auto found = actual.find(path);
    if (found == actual.end())
      differences.push_back("missing " + path);
    else if (found->second != bytes)
      differences.push_back("changed " + path);
  }
  for (const auto& entry : actual)
    if (!expected.count(entry.first)) differences.push_back("unexpected " + entry.first);
  return differences;
}

// One game folder with the main window's commands over it; each case of a row makes its own.
struct TJob {
  TGameFolder game;
  TFakeMainView view;
  TGameToolLauncher launcher;
  TJobController commands{view.Seams(), [this]() -> const TAppliedPrefs& { return game.Prefs; }, launcher};
  std::vector<TPackage> packages;
  std::vector<std::string> indexLines;
  TTree before;
  int closes = 0;

  TJob() {
    commands.OnCloseReady = [this] { ++closes; };
    // As in the window, the tool's wait and the copy hand the messages to one pump.
    launcher.ProcessMessages = [this] {
      MSG message;
      while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&message);
      view.ProcessPendingMessages();
    };
  }

  // Writes the payloads and cache.ini (a comment and a final empty line around the entries),
  // opens the cache, ticks as the packages say and takes the snapshot of the game folder.
  void Open(std::vector<TPackage> list) {
    packages = std::move(list);
    indexLines = {Header, "; downloaded from a test server"};
    for (const TPackage& p : packages) indexLines.push_back(game.Entry(p.n, p.name, p.Bytes()));
    indexLines.push_back("");
    WriteFileBytes(game.Index(), TGameFolder::Joined(indexLines));
    commands.tbOpenCacheClick();
    ASSERT_EQ(view.RowCount(), static_cast<int>(packages.size()));
    for (size_t row = 0; row < packages.size(); ++row) view.SetRowTicked(static_cast<int>(row), packages[row].ticked);
    view.Boxes.clear();
    view.Statuses.clear();
    before = Tree();
  }
  TTree Tree() const {
    TTree tree;
    ReadTree(game.Root, "", tree);
    return tree;
  }
  std::string Relative(const std::string& path) const { return path.substr(game.Root.size()); }
  std::string Destination(const TPackage& p) const {
    return GetDestinationFolder(GetPackageKind(p.name), game.Prefs) + p.name;
  }
  std::string Integrate() { return ErrorOf([this] { commands.tbCopySelectedClick(); }); }

  // The game folder as it must be when exactly the packages `integrated` have gone in: each in
  // its folder with its payload's bytes, its payload and line gone; every other file as before.
  TTree Expected(const std::set<uint32_t>& integrated, bool indexSaved) const {
    TTree expected = before;
    std::vector<std::string> lines = indexLines;
    for (const TPackage& p : packages) {
      if (!integrated.count(p.n)) continue;
      expected.erase(Relative(game.Payload(p.n)));
      expected[Relative(Destination(p))] = p.Bytes();
      lines.erase(std::find(lines.begin(), lines.end(), TGameFolder::Key(p.n) + "=" + p.name));
    }
    if (indexSaved) expected[Relative(game.Index())] = TGameFolder::Joined(lines);
    return expected;
  }
  // Also the screen: a row for every package still in the cache, in the index's order.
  void ExpectNothingLost(const std::set<uint32_t>& integrated) {
    EXPECT_EQ(Differences(Expected(integrated, !integrated.empty()), Tree()), std::vector<std::string>{});
    std::vector<std::string> rows;
    for (const TPackage& p : packages)
      if (!integrated.count(p.n)) rows.push_back(p.name);
    EXPECT_EQ(view.Captions(), rows);
  }

  // The stand-in tool is held running while "ucc-wait" exists in the System folder.
  std::string HoldFile() const { return game.Prefs.SystemPath + "ucc-wait"; }
  // Wakes the tool's wait as soon as it starts, as a repaint or a click would.
  void WakeTheWaitWhenTheToolStarts() {
    view.OnStatusText = [](const std::string& text) {
      if (text.find(" mutator ") != std::string::npos) ::PostThreadMessageA(::GetCurrentThreadId(), WM_APP, 0, 0);
    };
  }
  // Lets a held tool end; it writes its call once it has.
  std::vector<std::string> ReleaseTheTool() {
    ::DeleteFileA(HoldFile().c_str());
    for (int round = 0; round < 1000 && game.ToolCalls().empty(); ++round) ::Sleep(10);
    return game.ToolCalls();
  }
};
