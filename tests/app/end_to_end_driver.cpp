// The whole program from outside, as a user would drive it: Pellorin.exe runs as its own process
// in a fresh Wine prefix on a first run (no preferences yet, the game's install record present);
// this driver finds its windows, answers its boxes, ticks packages, integrates them, closes the
// program and then checks the game folders, cache.ini, the registration files and the stored
// preferences; a second start then finds the preferences and shows no box. run_end_to_end.sh
// prepares the prefix and the demo game.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "ui/resource.h"
#include "win/handles.h"

namespace {

constexpr DWORD PatienceMs = 60000;  // how long a window may take to appear; never asserted on

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::string ReadWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The lines of an index file, line ends removed.
std::vector<std::string> IndexLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

// key -> real file name, from the entry lines of an index.
std::map<std::string, std::string> IndexEntries(const std::string& text) {
  std::map<std::string, std::string> entries;
  for (const std::string& line : IndexLines(text)) {
    const size_t equals = line.find('=');
    if (line.empty() || line[0] == ';' || line[0] == '[' || equals == std::string::npos) continue;
    entries[line.substr(0, equals)] = line.substr(equals + 1);
  }
  return entries;
}

// Memory inside the program's process, for the list view and status bar messages that carry
// pointers (they are not carried across processes by the system).
class TRemoteBuffer {
public:
  TRemoteBuffer(HANDLE process, size_t size)
      : process_(process), address_(::VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE)) {}
  ~TRemoteBuffer() {
    if (address_) ::VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
  }
  TRemoteBuffer(const TRemoteBuffer&) = delete;
  TRemoteBuffer& operator=(const TRemoteBuffer&) = delete;

  char* At(size_t offset) const { return static_cast<char*>(address_) + offset; }
  void Write(size_t offset, const void* data, size_t size) const {
    ::WriteProcessMemory(process_, At(offset), data, size, nullptr);
  }
  void Read(size_t offset, void* data, size_t size) const {
    ::ReadProcessMemory(process_, At(offset), data, size, nullptr);
  }

private:
  HANDLE process_;
  void* address_;
};

class TProgram {
public:
  explicit TProgram(const std::string& exe, const std::string& folder) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    std::string commandLine = "\"" + exe + "\"";
    if (!::CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                          &startup, &started))
      return;
    process_.Reset(started.hProcess);
    TKernelHandle thread(started.hThread);
    id_ = started.dwProcessId;
  }

  bool Started() const { return process_.Valid(); }
  HANDLE Process() const { return process_.Get(); }

  // A visible top-level window of the program with this caption, waited for.
  HWND WaitForWindow(const std::string& caption) const {
    for (DWORD waited = 0; waited < PatienceMs; waited += 50) {
      if (HWND found = FindWindowOf(caption)) return found;
      if (::WaitForSingleObject(process_.Get(), 50) == WAIT_OBJECT_0) return nullptr;
    }
    return nullptr;
  }

  HWND FindWindowOf(const std::string& caption) const {
    TWindowSearch search{id_, &caption, nullptr};
    ::EnumWindows(&TProgram::MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.Found;
  }

  // Answers the program's message box with the given caption: its text, then a button pressed.
  std::string AnswerBox(const std::string& caption, int button) const {
    HWND box = WaitForWindow(caption);
    if (!box) return "(no \"" + caption + "\" box)";
    char text[2048] = "";
    ::GetDlgItemTextA(box, IDC_MESSAGE_TEXT, text, sizeof text);
    ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(box, button)));
    for (DWORD waited = 0; waited < PatienceMs && ::IsWindow(box) && ::IsWindowVisible(box); waited += 20) ::Sleep(20);
    return text;
  }

  DWORD WaitForExit() const {
    ::WaitForSingleObject(process_.Get(), PatienceMs);
    DWORD code = STILL_ACTIVE;
    ::GetExitCodeProcess(process_.Get(), &code);
    return code;
  }

private:
  struct TWindowSearch {
    DWORD Process;
    const std::string* Caption;
    HWND Found;
  };
  static BOOL CALLBACK MatchWindow(HWND window, LPARAM data) {
    auto& search = *reinterpret_cast<TWindowSearch*>(data);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    char text[256] = "";
    ::GetWindowTextA(window, text, sizeof text);
    if (owner != search.Process || !::IsWindowVisible(window) || *search.Caption != text) return TRUE;
    search.Found = window;
    return FALSE;
  }

  TKernelHandle process_;
  DWORD id_ = 0;
};

HWND ChildOfClass(HWND parent, const char* className, const char* text = nullptr) {
  return ::FindWindowExA(parent, nullptr, className, text);
}

std::string ItemCaption(const TProgram& program, HWND list, int row) {
  TRemoteBuffer remote(program.Process(), sizeof(LVITEMA) + 260);
  LVITEMA item{};
  item.iSubItem = 0;
  item.pszText = remote.At(sizeof item);
  item.cchTextMax = 260;
  remote.Write(0, &item, sizeof item);
  ::SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(remote.At(0)));
  char text[260] = "";
  remote.Read(sizeof item, text, sizeof text - 1);
  return text;
}

void TickRow(const TProgram& program, HWND list, int row) {
  TRemoteBuffer remote(program.Process(), sizeof(LVITEMA));
  LVITEMA state{};
  state.stateMask = LVIS_STATEIMAGEMASK;
  state.state = INDEXTOSTATEIMAGEMASK(2);
  remote.Write(0, &state, sizeof state);
  ::SendMessageA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(remote.At(0)));
}

std::string StatusText(const TProgram& program, HWND status) {
  TRemoteBuffer remote(program.Process(), 512);
  ::SendMessageA(status, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(remote.At(0)));
  char text[512] = "";
  remote.Read(0, text, sizeof text - 1);
  return text;
}

std::string RegistryText(HKEY key, const char* name) {
  char value[1024] = "";
  DWORD size = sizeof value - 1, type = 0;
  if (::RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size) != ERROR_SUCCESS ||
      type != REG_SZ)
    return "(missing)";
  return value;
}

DWORD RegistryNumber(HKEY key, const char* name) {
  DWORD value = 0xFFFFFFFF, size = sizeof value, type = 0;
  ::RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
  return type == REG_DWORD ? value : 0xFFFFFFFF;
}

// Waits for a file the screenshot script creates once it has taken its picture.
void OfferScreenshot() {
  const std::string ready = Environment("PELLORIN_SHOT_READY");
  if (ready.empty()) return;
  std::ofstream(ready) << "ready\n";
  const std::string taken = Environment("PELLORIN_SHOT_TAKEN");
  for (DWORD waited = 0; waited < PatienceMs && !Exists(taken); waited += 100) ::Sleep(100);
}

TEST(EndToEnd, FirstRunThenIntegrationOfTickedPackages) {
  const std::string exe = Environment("PELLORIN_EXE");
  const std::string game = Environment("PELLORIN_GAME");  // the game's folder, no final backslash
  ASSERT_FALSE(exe.empty());
  ASSERT_FALSE(game.empty());
  const std::string cache = game + "\\Cache\\";
  const std::string indexBefore = ReadWhole(cache + "cache.ini");
  const std::map<std::string, std::string> entries = IndexEntries(indexBefore);
  const std::vector<std::string> chosen = {"DM-Rankin.ut2", "MutUltraSpeed.u", "RidgelineTex.utx"};
  std::map<std::string, std::string> payloads;  // real file name -> bytes, before the run
  std::map<std::string, std::string> keys;
  for (const auto& [key, name] : entries) {
    keys[name] = key;
    payloads[name] = ReadWhole(cache + key + ".uxx");
  }
  for (const std::string& name : chosen) ASSERT_TRUE(keys.count(name)) << name;

  TProgram program(exe, game);
  ASSERT_TRUE(program.Started());

  // First run: the box comes before the main window is shown.
  HWND firstRun = program.WaitForWindow("Information");
  ASSERT_NE(firstRun, nullptr);
  EXPECT_EQ(program.FindWindowOf("UT2K4 Pellorin v1.2 by Morvane"), nullptr);
  EXPECT_EQ(program.AnswerBox("Information", IDC_MESSAGE_BUTTON1),
            "Since this is your first time using Pellorin, you should\r\nconsider setting your preferences.");

  HWND main = program.WaitForWindow("UT2K4 Pellorin v1.2 by Morvane");
  ASSERT_NE(main, nullptr);
  HWND list = ChildOfClass(main, WC_LISTVIEWA);
  HWND status = ChildOfClass(main, STATUSCLASSNAMEA);
  HWND integrate = ChildOfClass(main, WC_BUTTONA, "Integrate selected");
  ASSERT_TRUE(list && status && integrate);
  // The open-cache command of the first run has already listed the cache.
  const int rows = static_cast<int>(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  EXPECT_EQ(rows, static_cast<int>(entries.size()));
  EXPECT_EQ(StatusText(program, status), "Select files to integrate and click Integrate!");
  OfferScreenshot();

  int ticked = 0;
  for (int row = 0; row < rows; ++row) {
    const std::string caption = ItemCaption(program, list, row);
    for (const std::string& name : chosen)
      if (caption == name) {
        TickRow(program, list, row);
        EXPECT_EQ(::SendMessageA(list, LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK), INDEXTOSTATEIMAGEMASK(2));
        ++ticked;
      }
  }
  ASSERT_EQ(ticked, 3);

  ::PostMessageA(integrate, BM_CLICK, 0, 0);
  EXPECT_EQ(program.AnswerBox("Confirm", IDC_MESSAGE_BUTTON1), "Do you wish to install the mutator:\r\n\r\nMutUltraSpeed.u");
  EXPECT_EQ(program.AnswerBox("Information", IDC_MESSAGE_BUTTON1),
            "The selected files have been successfully integrated into\r\nyour UT2004 installation.\r\n\r\n"
            "The files remaining on screen (if any) are the ones that have not been\r\ncopied and remain in your UT "
            "cache directory.");
  EXPECT_EQ(StatusText(program, status), "Done!");
  EXPECT_EQ(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), rows - 3);

  ::PostMessageA(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(program.WaitForExit(), 0u);

  // The packages lie in their game folders, byte for byte, and have left the cache.
  const std::map<std::string, std::string> destinations = {
      {"DM-Rankin.ut2", "Maps"}, {"MutUltraSpeed.u", "System"}, {"RidgelineTex.utx", "Textures"}};
  for (const auto& [name, folder] : destinations) {
    EXPECT_EQ(ReadWhole(game + "\\" + folder + "\\" + name), payloads[name]) << name;
    EXPECT_FALSE(Exists(cache + keys[name] + ".uxx")) << name;
  }
  // cache.ini keeps every other line, in order, and loses the three.
  std::vector<std::string> expectedLines;
  for (const std::string& line : IndexLines(indexBefore)) {
    bool integrated = false;
    for (const std::string& name : chosen) integrated |= line == keys[name] + "=" + name;
    if (!integrated) expectedLines.push_back(line);
  }
  EXPECT_EQ(IndexLines(ReadWhole(cache + "cache.ini")), expectedLines);
  // The mutator was registered by the game's tool, run once in System.
  EXPECT_TRUE(Exists(game + "\\System\\MutUltraSpeed.ucl"));
  EXPECT_EQ(ReadWhole(game + "\\System\\ucc-calls.log"), game + "\\System|exportcache MutUltraSpeed.u\r\n");

  // The first run stored the default folders below the game's folder and both options.
  TRegKey key;
  ASSERT_EQ(::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Morvane\\Pellorin", 0, KEY_READ, key.Put()), ERROR_SUCCESS);
  const std::pair<const char*, const char*> folders[] = {
      {"SystemPath", "System\\"},   {"MapPath", "Maps\\"},           {"TexturePath", "Textures\\"},
      {"SoundPath", "Sounds\\"},    {"MusicPath", "Music\\"},        {"MeshPath", "StaticMeshes\\"},
      {"AnimationPath", "Animations\\"}, {"KarmaPath", "KarmaData\\"}, {"CachePath", "Cache\\"}};
  for (const auto& [value, folder] : folders) EXPECT_EQ(RegistryText(key.Get(), value), game + "\\" + folder) << value;
  EXPECT_EQ(RegistryNumber(key.Get(), "AutoRegMutators"), 1u);
  EXPECT_EQ(RegistryNumber(key.Get(), "PromptMutReg"), 1u);
}

TEST(EndToEnd, LaterStartShowsNoBoxAndExitWritesNothing) {
  const std::string game = Environment("PELLORIN_GAME");
  const std::string indexBefore = ReadWhole(game + "\\Cache\\cache.ini");
  TProgram program(Environment("PELLORIN_EXE"), game);
  ASSERT_TRUE(program.Started());
  HWND main = program.WaitForWindow("UT2K4 Pellorin v1.2 by Morvane");
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(program.FindWindowOf("Information"), nullptr);
  EXPECT_EQ(::SendMessageA(ChildOfClass(main, WC_LISTVIEWA), LVM_GETITEMCOUNT, 0, 0), 0);
  EXPECT_EQ(StatusText(program, ChildOfClass(main, STATUSCLASSNAMEA)), "Click on \"Open cache\" to begin!");
  ::PostMessageA(main, WM_COMMAND, MAKEWPARAM(IDM_EXIT1, 0), 0);
  EXPECT_EQ(program.WaitForExit(), 0u);
  EXPECT_EQ(ReadWhole(game + "\\Cache\\cache.ini"), indexBefore);
}

}  // namespace
