#pragma once
// What every section of the benchmark shares: the clock, the report and a main window over a game
// folder of its own whose boxes answer at once.
#include <windows.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/applied_prefs.h"
#include "job/message_boxes.h"
#include "job/job_seams.h"
#include "support/test_files.h"
#include "ui/pn_mainform.h"
#include "win/application.h"

double Now();
double Median(std::vector<double> values);
// Runs body `repeats` times (prepare before each, untimed) and returns the median seconds.
double MedianSeconds(int repeats, const std::function<void()>& prepare, const std::function<void()>& body);

// The peak working set of this process, in bytes.
size_t PeakWorkingSet();
// Runs this program again with arguments, in a process of its own, and returns the number it
// prints (a peak working set in bytes) in MiB; -1 when it cannot be started.
double ChildPeakMiB(const std::string& arguments);

struct TResult {
  std::string Section, Measure;
  double Value;
  std::string Unit;
};

class TReport {
public:
  void Add(const std::string& section, const std::string& measure, double value, const std::string& unit);
  void WriteCsv(const std::string& path) const;

private:
  std::vector<TResult> results_;
};

// A window that is not there: boxes that answer at once, so that runs end without a person, and
// for the copy its own file work without progress bar or messages.
class TSilentView : public IMessageBoxes, public IProgress {
public:
  // Shown on the error stream, so that a refused or failed command is not taken for a measure.
  void ShowWarning(const std::string& text) override { std::fprintf(stderr, "warning: %s\n", text.c_str()); }
  TModalResult AskWarning(const std::string&) override { return TModalResult::Yes; }
  TModalResult AskConfirmation(const std::string&) override { return TModalResult::Yes; }
  void ShowInformation(const std::string&) override {}
  void SetProgressVisible(bool) override {}
  void SetProgressRange(int) override {}
  void SetProgressPosition(int) override {}
  void ProcessPendingMessages() override {}
};

enum class TPayloads { Every, EverySecond, None };

// A cache folder with `entries` lines and the payloads asked for.
void MakeCache(const std::string& folder, unsigned entries, size_t payloadSize, TPayloads payloads);

struct TBench {
  TAppliedPrefs prefs;
  TSilentView boxes;
  std::unique_ptr<TMainForm> form;

  explicit TBench(const std::string& game) {
    prefs.SystemPath = game + "System\\";
    prefs.MapPath = game + "Maps\\";
    prefs.TexturePath = game + "Textures\\";
    prefs.SoundPath = game + "Sounds\\";
    prefs.MusicPath = game + "Music\\";
    prefs.MeshPath = game + "StaticMeshes\\";
    prefs.AnimationPath = game + "Animations\\";
    prefs.KarmaPath = game + "KarmaData\\";
    prefs.CachePath = game + "Cache\\";
    EmptyDestinations();
    TMainFormServices services;
    services.Prefs = [this]() -> const TAppliedPrefs& { return prefs; };
    services.ShowPreferences = [](HWND) {};
    services.Boxes = &boxes;
    form = std::make_unique<TMainForm>(::GetModuleHandleA(nullptr), services);
    form->Show(SW_SHOWNORMAL);
    Settle();
  }
  // The eight game folders, made empty: every repeat of a run then creates new files, as a
  // run into folders that do not hold the packages yet does, rather than replace the last ones.
  void EmptyDestinations() {
    for (const auto* folder : {&prefs.SystemPath, &prefs.MapPath, &prefs.TexturePath, &prefs.SoundPath, &prefs.MusicPath,
                               &prefs.MeshPath, &prefs.AnimationPath, &prefs.KarmaPath}) {
      RemoveTree(*folder);
      MakeFolders(*folder);
    }
  }
  void Settle() {
    ::UpdateWindow(form->Handle());
    Application.ProcessMessages();
  }
  // Open cache up to the painted list.
  void OpenCache() {
    form->tbOpenCacheClick();
    Settle();
  }
};
