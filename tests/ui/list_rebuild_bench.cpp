// Measures the package list with 100,000 rows under Wine: opening a cache of that size (read,
// listing, rebuild), Select All, and the rebuild alone. Prints the times; asserts nothing.
#include <windows.h>
#include <commctrl.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "framework/message_boxes.h"
#include "prefs/applied_prefs.h"
#include "support/test_files.h"
#include "ui/pn_mainform.h"

namespace {

class TSilentBoxes : public IMessageBoxes {
public:
  void ShowWarning(const std::string&) override {}
  TModalResult AskWarning(const std::string&) override { return TModalResult::No; }
  TModalResult AskConfirmation(const std::string&) override { return TModalResult::No; }
  void ShowInformation(const std::string&) override {}
};

template <class F>
double Seconds(F&& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main() {
  constexpr int Rows = 100000;
  INITCOMMONCONTROLSEX classes{sizeof classes, ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&classes);
  TTempFolder game;
  TAppliedPrefs prefs;
  prefs.CachePath = game.Sub("Cache\\", true);
  std::string index = "[Cache]\r\n";
  // One payload in a thousand exists; the others are listed as "-1 bytes", as a stale index would.
  for (int i = 0; i < Rows; ++i) {
    const std::string key = CacheGuid(static_cast<uint32_t>(i)) + "-1";
    index += key + "=Package" + std::to_string(i) + ".utx\r\n";
    if (i % 1000 == 0) WriteFileBytes(prefs.CachePath + key + ".uxx", PayloadBytes(100, static_cast<uint32_t>(i)));
  }
  WriteFileBytes(prefs.CachePath + "cache.ini", index);

  TSilentBoxes boxes;
  TMainForm form(::GetModuleHandleA(nullptr),
                 TMainFormServices{[&prefs]() -> const TAppliedPrefs& { return prefs; }, [](HWND) {}, &boxes});
  form.Show(SW_SHOWNORMAL);
  const double open = Seconds([&] { form.tbOpenCacheClick(); ::UpdateWindow(form.ListHandle()); });
  const double selectAll = Seconds([&] { form.SelectAll1Click(); ::UpdateWindow(form.ListHandle()); });
  std::vector<TListingRow> rows(static_cast<size_t>(Rows), TListingRow{"Package.utx", "1KB", "Texture", 0, false});
  const double rebuild = Seconds([&] { form.ReplaceRows(rows); ::UpdateWindow(form.ListHandle()); });
  std::printf("rows %d: open cache %.3f s, select all %.3f s, rebuild alone %.3f s\n", form.RowCount(), open,
              selectAll, rebuild);
  return 0;
}
