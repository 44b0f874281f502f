// Faults during the main job, on a real game folder under Wine, each proving that nothing is lost:
// every ticked package ends either in its game folder (its payload's bytes), gone from cache.ini
// and from the cache folder, or still in the cache with its payload, its line and its row; every
// other file keeps its bytes and no temporary file is left anywhere in the game folder.
// The rows:
//   - the disk fills up in the middle of the first file, and of a later one;
//   - a payload vanishes, or is locked, between the listing and the run; a reader holds it;
//   - another process locks cache.ini for the save; a process saving it is killed half way;
//   - a destination folder is missing, a destination is read-only, or in use;
//   - two rows of one real name are ticked together;
//   - every command is chosen while a file is copied, and while the game's tool runs;
//   - the window is closed while a file is copied, and while the game's tool runs;
//   - the game's tool is missing; the game's tool never ends;
//   - a copy is killed half way;
//   - cache.ini names packages and keys that lead out of their folders, devices, streams and wildcards.
#include <gtest/gtest.h>

#include <memory>

#include "job/game_job_fixture.h"

namespace {

const std::string Succeeded = std::string("info: ") + JobTexts::RunSucceeded;

// The disk fills up after capacity bytes: a write gets as far as the space goes and then fails,
// as a real write to a full disk does.
TCopyIo FillingDisk(size_t capacity) {
  TCopyIo io = TCopyIo::Standard();
  io.Write = [left = std::make_shared<size_t>(capacity)](HANDLE file, const void* data, DWORD size) {
    const auto part = static_cast<DWORD>(std::min<size_t>(*left, size));
    DWORD written = 0;
    if (part > 0) ::WriteFile(file, data, part, &written, nullptr);
    *left -= written;
    return written == size;
  };
  return io;
}

std::string ChildPath() {
  std::string path = PN_FAULT_MATRIX_CHILD;
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

// Another process working on a file (fault_matrix_child.cpp), started and past its signal.
class TChild {
public:
  TChild(const std::string& mode, const std::string& file, const std::string& second = "") {
    static int count = 0;
    const std::string event = "PellorinFaultMatrix-" + std::to_string(::GetCurrentProcessId()) + "-" +
                              std::to_string(++count);
    TKernelHandle ready(::CreateEventA(nullptr, TRUE, FALSE, event.c_str()));
    std::string commandLine = ChildPath();
    commandLine.insert(0, 1, '"');
    commandLine.append("\" ").append(mode).append(" \"").append(file).append("\" ");
    if (!second.empty()) commandLine.append("\"").append(second).append("\" ");
    commandLine.append(event);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
      return;
    process_.Reset(info.hProcess);
    TKernelHandle thread(info.hThread);
    const HANDLE readyOrEnded[] = {ready.Get(), process_.Get()};
    Ready = ::WaitForMultipleObjects(2, readyOrEnded, FALSE, INFINITE) == WAIT_OBJECT_0;
  }
  ~TChild() { Kill(); }
  TChild(const TChild&) = delete;
  TChild& operator=(const TChild&) = delete;

  void Kill() {
    if (!process_) return;
    ::TerminateProcess(process_.Get(), 9);
    ::WaitForSingleObject(process_.Get(), INFINITE);
    process_.Reset();
  }

  bool Ready = false;

private:
  TKernelHandle process_;
};


TEST(FaultMatrix, DiskFullDuringACopy) {
  const struct {
    const char* row;
    size_t capacity;
    bool formerDestination;  // the failing package's destination exists before the run
    size_t failing;
  } cases[] = {
      {"in the first file", 20000, false, 0},
      {"in a later file", 40000 + 25000, false, 1},
      {"in a later file replacing an older copy", 40000 + 25000, true, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.row);
    TJob job;
    if (c.formerDestination) WriteFileBytes(job.game.Prefs.TexturePath + "Rock.utx", "an older Rock.utx");
    job.Open({{1, "DM-Rankin.ut2", 40000, true}, {2, "Rock.utx", 50000, true}, {3, "Boom.uax", 30000, true}});
    job.commands.CopyIo = FillingDisk(c.capacity);

    EXPECT_EQ(job.Integrate(), JobTexts::ErrorWritingOutputFile);
    std::set<uint32_t> integrated;
    for (size_t i = 0; i < c.failing; ++i) integrated.insert(job.packages[i].n);
    job.ExpectNothingLost(integrated);
    EXPECT_EQ(job.view.Status, "Copying " + job.packages[c.failing].name + "...");
  }
}

TEST(FaultMatrix, PayloadVanishedOrLockedBeforeTheRun) {
  const struct {
    bool locked;  // else deleted
    size_t failing;
  } cases[] = {{false, 0}, {false, 1}, {true, 0}, {true, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.locked ? "locked" : "vanished") + " payload " + std::to_string(c.failing));
    TJob job;
    job.Open({{1, "Rock.utx", 30000, true}, {2, "DM-Rankin.ut2", 30000, true}, {3, "Boom.uax", 30000, true}});
    const std::string payload = job.game.Payload(job.packages[c.failing].n);
    TFileHandle lock;
    if (c.locked) {
      lock.Reset(::CreateFileA(payload.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
      ASSERT_TRUE(lock);
    } else {
      ASSERT_TRUE(::DeleteFileA(payload.c_str()));
      job.before.erase(job.Relative(payload));
    }

    EXPECT_EQ(job.Integrate(), JobTexts::ErrorOpeningFile);
    lock.Reset();
    std::set<uint32_t> integrated;
    for (size_t i = 0; i < c.failing; ++i) integrated.insert(job.packages[i].n);
    job.ExpectNothingLost(integrated);
    EXPECT_FALSE(FileExists(job.Destination(job.packages[c.failing])));
  }
}

// A reader that shares reading but not deletion: the copy succeeds and only the deletion fails,
// which goes unreported; the payload stays in the cache folder, no longer listed.
TEST(FaultMatrix, PayloadHeldByAReaderDuringTheRun) {
  TJob job;
  job.Open({{1, "Rock.utx", 30000, true}, {2, "DM-Rankin.ut2", 30000, true}});
  const std::string payload = job.game.Payload(2);
  TFileHandle reader(::CreateFileA(payload.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(reader);

  EXPECT_EQ(job.Integrate(), "");
  reader.Reset();
  TTree expected = job.Expected({1, 2}, true);
  expected[job.Relative(payload)] = PayloadBytes(30000, 2);
  EXPECT_EQ(Differences(expected, job.Tree()), std::vector<std::string>{});
  EXPECT_TRUE(job.view.Rows.empty());
  EXPECT_EQ(job.view.Boxes, std::vector<std::string>{Succeeded});
}

// The lock is taken by another process once the run has reached the save.
TEST(FaultMatrix, IndexLockedDuringTheSave) {
  TJob job;
  job.Open({{1, "Rock.utx", 30000, true}, {2, "DM-Rankin.ut2", 20000, true}, {3, "Boom.uax", 100, false}});
  std::unique_ptr<TChild> holder;
  job.view.OnStatusText = [&](const std::string& text) {
    if (text == JobTexts::UpdatingCacheFile && !holder)
      holder = std::make_unique<TChild>("hold", job.game.Index());
  };
  const std::string error = job.Integrate();
  ASSERT_TRUE(holder && holder->Ready);
  holder->Kill();

  EXPECT_EQ(error, "Cannot create file \"" + job.game.Index() + "\". " + SystemErrorText(ERROR_SHARING_VIOLATION));
  // The index still lists every package, so each is still in the cache too; its copy in the game
  // folder is a spare until the next run puts it there again.
  TTree expected = job.before;
  for (const TPackage& p : job.packages)
    if (p.ticked) expected[job.Relative(job.Destination(p))] = PayloadBytes(p.size, p.n);
  EXPECT_EQ(Differences(expected, job.Tree()), std::vector<std::string>{});
  EXPECT_EQ(job.view.Captions(), (std::vector<std::string>{"Rock.utx", "DM-Rankin.ut2", "Boom.uax"}));

  EXPECT_EQ(job.Integrate(), "") << "once the lock is gone, the same ticks integrate";
  job.ExpectNothingLost({1, 2});
}

TEST(FaultMatrix, CrashDuringTheSave) {
  TJob job;
  job.Open({{1, "Rock.utx", 300, true}, {2, "DM-Rankin.ut2", 200, true}, {3, "Boom.uax", 100, false}});
  TChild saver("save", job.game.Index());
  ASSERT_TRUE(saver.Ready);
  saver.Kill();
  // The killed save's half-written file stays beside the index, which is whole.
  EXPECT_EQ(Differences(job.before, job.Tree()), std::vector<std::string>{"unexpected Cache\\cache.ini.~pn1"});

  // The next save removes the left-over and is not hindered by it.
  EXPECT_EQ(job.Integrate(), "");
  job.ExpectNothingLost({1, 2});
  EXPECT_EQ(job.view.Boxes, std::vector<std::string>{Succeeded});
}

// A copy killed half way (the program ended, the power lost) leaves its part in the staging folder
// and nothing under the package's real name, where it would pass for installed; the next run into
// that folder removes the part.
TEST(FaultMatrix, CrashDuringACopy) {
  TJob job;
  job.Open({{1, "DM-Big.ut2", 100000, true}, {2, "Rock.utx", 300, false}});
  TChild copier("copy", job.game.Payload(1), job.Destination(job.packages[0]));
  ASSERT_TRUE(copier.Ready);
  copier.Kill();
  EXPECT_EQ(Differences(job.before, job.Tree()), std::vector<std::string>{"unexpected Maps\\~pn\\1"});

  job.commands.tbOpenCacheClick();
  EXPECT_EQ(job.view.Rows.at(0).ImageIndex, 0) << "not installed";
  job.view.SetRowTicked(0, true);
  EXPECT_EQ(job.Integrate(), "");
  job.ExpectNothingLost({1});
  EXPECT_EQ(EntriesIn(job.game.Prefs.MapPath), 1) << "the staging folder is gone";
}

// cache.ini may come from a cache pack found on the web. Names and keys that lead out of their
// folder, absolute names, streams, devices, wildcards and overlong names are listed, but nothing is read,
// written or deleted for them and the game's tool never sees them; a decoy at every place they
// point to keeps its bytes, and the rest of the run goes on as usual.
TEST(FaultMatrix, UnsafeNamesAndKeysFromADownloadedIndex) {
  TJob job;
  TGameFolder& game = job.game;
  game.Prefs.AutoRegMutators = true;
  const std::string outside = game.Temp.Sub("");
  MakeFolders(outside + "Maps\\");
  const struct {
    std::string key, name, decoy;  // the decoy: where the name or key points to, outside its folder
  } rows[] = {
      {TGameFolder::Key(1), "..\\Evil.u", game.Root + "Evil.u"},
      {TGameFolder::Key(2), "..\\..\\Decoy.utx", outside + "Decoy.utx"},
      {TGameFolder::Key(3), "../Slash.ut2", game.Root + "Slash.ut2"},
      {TGameFolder::Key(4), outside + "Abs.utx", outside + "Abs.utx"},
      {TGameFolder::Key(5), "Name.ut2:stream", ""},
      {TGameFolder::Key(6), "CON.ut2", ""},
      {TGameFolder::Key(7), "nul.u", ""},
      {TGameFolder::Key(8), "Com1.utx", ""},
      {TGameFolder::Key(9), "Dot.ut2.", ""},
      {TGameFolder::Key(10), "Space.ut2 ", ""},
      {TGameFolder::Key(11), std::string(296, 'x') + ".ut2", ""},
      {"..\\..\\Maps\\Old", "Old.ut2", outside + "Maps\\Old.uxx"},
      {"../Up", "Up.utx", game.Root + "Up.uxx"},
      {outside + "AbsKey", "AbsKey.utx", outside + "AbsKey.uxx"},
      {TGameFolder::Key(12), "Star*.ut2", ""},
      {TGameFolder::Key(13), "COM\xB9.u", ""},
  };
  std::vector<std::string> lines{Header};
  std::vector<std::string> captions;
  for (size_t i = 0; i < std::size(rows); ++i) {
    if (!rows[i].decoy.empty()) WriteFileBytes(rows[i].decoy, "decoy " + std::to_string(i));
    if (rows[i].key.find_first_of("\\/:") == std::string::npos)
      WriteFileBytes(game.Prefs.CachePath + rows[i].key + ".uxx", PayloadBytes(100, i));
    lines.push_back(rows[i].key + "=" + rows[i].name);
    captions.push_back(rows[i].name);
  }
  lines.push_back(game.Entry(20, "Good.u", "a good code package"));
  lines.push_back("");
  WriteFileBytes(game.Index(), TGameFolder::Joined(lines));
  job.commands.tbOpenCacheClick();
  ASSERT_EQ(job.view.RowCount(), int(std::size(rows)) + 1);
  for (int row = 0; row < job.view.RowCount(); ++row) job.view.SetRowTicked(row, true);
  EXPECT_EQ(job.view.Rows[11].SizeText, "-1 bytes") << "nothing outside the cache folder is looked at";
  const TTree before = job.Tree();

  EXPECT_EQ(job.Integrate(), "");
  TTree expected = before;
  expected.erase(job.Relative(game.Payload(20)));
  expected["System\\Good.u"] = "a good code package";
  lines.erase(lines.end() - 2);
  expected[job.Relative(game.Index())] = TGameFolder::Joined(lines);
  EXPECT_EQ(Differences(expected, job.Tree()), std::vector<std::string>{});
  for (size_t i = 0; i < std::size(rows); ++i) {
    if (!rows[i].decoy.empty()) {
      EXPECT_EQ(ReadFileBytes(rows[i].decoy), "decoy " + std::to_string(i));
    }
  }
  EXPECT_EQ(game.ToolCalls(), std::vector<std::string>{game.ToolCall("exportcache Good.u")});
  EXPECT_EQ(job.view.Captions(), captions);
  EXPECT_EQ(job.view.Boxes, std::vector<std::string>{Succeeded});
}

TEST(FaultMatrix, DestinationMissingReadOnlyOrInUse) {
  enum TFault { MissingFolder, ReadOnly, InUse };
  for (const TFault fault : {MissingFolder, ReadOnly, InUse}) {
    SCOPED_TRACE(fault);
    TJob job;
    const std::string former = job.game.Prefs.MapPath + "DM-Rankin.ut2";
    if (fault == MissingFolder) job.game.Prefs.MapPath = job.game.Root + "NoMaps\\";
    if (fault != MissingFolder) WriteFileBytes(former, "the game's own DM-Rankin.ut2");
    if (fault == ReadOnly) {
      ASSERT_TRUE(::SetFileAttributesA(former.c_str(), FILE_ATTRIBUTE_READONLY));
    }
    job.Open({{1, "Rock.utx", 30000, true}, {2, "DM-Rankin.ut2", 30000, true}, {3, "Boom.uax", 30000, true}});
    TFileHandle game(fault == InUse ? ::CreateFileA(former.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)
                                    : INVALID_HANDLE_VALUE);

    EXPECT_EQ(job.Integrate(), JobTexts::ErrorCreatingOutputFile);
    game.Reset();
    job.ExpectNothingLost({1});
    EXPECT_EQ(job.view.Status, "Copying DM-Rankin.ut2...");
    EXPECT_TRUE(fault != ReadOnly || (::GetFileAttributesA(former.c_str()) & FILE_ATTRIBUTE_READONLY));
  }
}

TEST(FaultMatrix, TwoRowsOfOneNameTickedTogether) {
  TJob job;
  job.Open({{1, "DM-Twin.ut2", 20000, true}, {2, "DM-Twin.ut2", 30000, true}, {3, "Rock.utx", 100, true}});
  EXPECT_EQ(job.Integrate(), "");
  job.ExpectNothingLost({1, 3});
  EXPECT_EQ(job.view.Boxes, std::vector<std::string>{Succeeded});
}

// Chosen once, in the middle of the first package's copy or of the tool's run for it: the commands
// that would change what the run walks are refused; the run integrates what was ticked when it
// started, whose targets its plan looked at, and ticks made meanwhile wait for the next run.
TEST(FaultMatrix, EveryCommandDuringACopyAndDuringTheToolsRun) {
  for (const bool duringTool : {false, true}) {
    SCOPED_TRACE(duringTool ? "during the tool's run" : "during a copy");
    TJob job;
    job.game.Prefs.AutoRegMutators = true;
    job.Open({{1, "Held.u", 40000, true}, {2, "Rock.utx", 20000, true}, {3, "Boom.uax", 20000, false},
              {4, "Theme.ogg", 20000, true}});
    if (duringTool) WriteFileBytes(job.HoldFile(), "");
    job.WakeTheWaitWhenTheToolStarts();
    bool chosen = false, busy = false, preferences = true;
    std::string note;
    job.view.OnPendingMessages = [&] {
      if (chosen || job.launcher.Running() != duringTool) return;
      chosen = true;
      busy = job.commands.Busy();
      job.commands.tbOpenCacheClick();
      job.commands.tbCopySelectedClick();
      job.commands.tbRegisterUninstalledClick();
      preferences = job.commands.CanShowPreferences();
      job.commands.SelectAll1Click();
      job.view.SetRowTicked(3, false);
      note = job.view.Status;
      ::DeleteFileA(job.HoldFile().c_str());
    };

    EXPECT_EQ(job.Integrate(), "");
    EXPECT_TRUE(chosen && busy);
    EXPECT_FALSE(preferences);
    EXPECT_EQ(note, JobTexts::BusyRefusal);
    job.ExpectNothingLost({1, 2, 4});
    EXPECT_EQ(job.game.ToolCalls(), std::vector<std::string>{job.game.ToolCall("exportcache Held.u")});
    EXPECT_EQ(job.view.Boxes, std::vector<std::string>{Succeeded});
    EXPECT_TRUE(job.view.Dialogs.empty());
    EXPECT_EQ(job.view.Status, JobTexts::Done);
  }
}

TEST(FaultMatrix, WindowClosedDuringACopyAndDuringTheToolsRun) {
  for (const bool duringTool : {false, true}) {
    SCOPED_TRACE(duringTool ? "during the tool's run" : "during a copy");
    TJob job;
    job.game.Prefs.AutoRegMutators = true;
    job.Open({{1, "Held.u", 40000, true}, {2, "Rock.utx", 20000, true}});
    if (duringTool) WriteFileBytes(job.HoldFile(), "");
    job.WakeTheWaitWhenTheToolStarts();
    std::vector<bool> closedAtOnce;
    job.view.OnPendingMessages = [&] {
      if (closedAtOnce.empty() && job.launcher.Running() == duringTool) closedAtOnce.push_back(job.commands.RequestClose());
    };

    EXPECT_EQ(job.Integrate(), "");
    EXPECT_EQ(closedAtOnce, std::vector<bool>{false});
    EXPECT_EQ(job.closes, 1);
    job.ExpectNothingLost({1});
    EXPECT_TRUE(job.view.Boxes.empty());
    EXPECT_TRUE(job.game.ToolCalls().empty());
    // A tool that was running has not been stopped: it ends once it is let go.
    const std::vector<std::string> laterCalls = job.ReleaseTheTool();
    EXPECT_EQ(laterCalls.size(), duringTool ? 1u : 0u);
  }
}

TEST(FaultMatrix, GameToolMissing) {
  TJob job;
  job.game.Prefs.AutoRegMutators = true;
  ASSERT_TRUE(::DeleteFileA((job.game.Prefs.SystemPath + "ucc.exe").c_str()));
  job.Open({{1, "MyMutator.u", 20000, true}, {2, "Rock.utx", 20000, true}});
  job.before.erase("System\\ucc.exe");

  EXPECT_EQ(job.Integrate(), "");
  job.ExpectNothingLost({1, 2});
  EXPECT_EQ(job.view.Boxes, std::vector<std::string>{Succeeded});
  EXPECT_EQ(job.view.Status, JobTexts::Done);
  EXPECT_NE(std::find(job.view.Statuses.begin(), job.view.Statuses.end(), "Installing mutator MyMutator.u..."),
            job.view.Statuses.end());
}

// The tool's wait goes on handling messages for as long as they come, until the window closes.
TEST(FaultMatrix, GameToolThatNeverEnds) {
  TJob job;
  job.game.Prefs.AutoRegMutators = true;
  job.Open({{1, "Held.u", 20000, true}, {2, "Rock.utx", 20000, true}});
  WriteFileBytes(job.HoldFile(), "");
  job.WakeTheWaitWhenTheToolStarts();
  constexpr int RoundsBeforeClosing = 25;
  int rounds = 0;
  job.view.OnPendingMessages = [&] {
    if (!job.launcher.Running()) return;
    if (++rounds < RoundsBeforeClosing) {
      ::PostThreadMessageA(::GetCurrentThreadId(), WM_APP, 0, 0);  // the next repaint, click, ...
    } else if (rounds == RoundsBeforeClosing) {
      EXPECT_FALSE(job.commands.RequestClose());
    }
  };

  EXPECT_EQ(job.Integrate(), "");
  EXPECT_EQ(rounds, RoundsBeforeClosing);
  EXPECT_EQ(job.closes, 1);
  job.ExpectNothingLost({1});
  EXPECT_TRUE(job.game.ToolCalls().empty());
  EXPECT_EQ(job.ReleaseTheTool(), std::vector<std::string>{job.game.ToolCall("exportcache Held.u")});
}

}  // namespace
