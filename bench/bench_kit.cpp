#include "bench_kit.h"

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "support/test_files.h"

namespace {

const char* const Names[] = {"DM-Arena%u.ut2", "Tex%u.utx", "Snd%u.uax", "Track%u.ogg", "Mesh%u.usx", "Anim%u.ukx", "Phys%u.ka"};

}  // namespace

double Now() {
  LARGE_INTEGER frequency, counter;
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

double MedianSeconds(int repeats, const std::function<void()>& prepare, const std::function<void()>& body) {
  std::vector<double> times;
  for (int i = 0; i < repeats; ++i) {
    if (prepare) prepare();
    const double start = Now();
    body();
    times.push_back(Now() - start);
  }
  return Median(times);
}

size_t PeakWorkingSet() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters);
  return counters.PeakWorkingSetSize;
}

double ChildPeakMiB(const std::string& arguments) {
  char self[MAX_PATH];
  ::GetModuleFileNameA(nullptr, self, MAX_PATH);
  TTempFolder temp;
  const std::string output = temp.Path() + "peak.txt";
  std::string command = std::string("\"") + self + "\" " + arguments;
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  TFileHandle out(::CreateFileA(output.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr));
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = out.Get();
  startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION process{};
  if (!::CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) return -1;
  TKernelHandle processHandle(process.hProcess), threadHandle(process.hThread);
  ::WaitForSingleObject(process.hProcess, INFINITE);
  out.Reset();
  return std::strtod(ReadFileBytes(output).c_str(), nullptr) / (1024.0 * 1024.0);
}

void MakeCache(const std::string& folder, unsigned entries, size_t payloadSize, TPayloads payloads) {
  RemoveTree(folder);
  MakeFolders(folder);
  std::string index = "[Cache]\r\n";
  index.reserve(entries * 64);
  for (unsigned i = 0; i < entries; ++i) {
    const std::string key = CacheGuid(i) + "-1";
    char name[64];
    std::snprintf(name, sizeof name, Names[i % 7], i);
    index += key + "=" + name + "\r\n";
    if (payloads == TPayloads::Every || (payloads == TPayloads::EverySecond && i % 2 == 0))
      WriteFileBytes(folder + key + ".uxx", PayloadBytes(payloadSize, i));
  }
  WriteFileBytes(folder + "cache.ini", index);
}

void TReport::Add(const std::string& section, const std::string& measure, double value, const std::string& unit) {
  results_.push_back({section, measure, value, unit});
  std::printf("%-14s %-52s %12.4f %s\n", section.c_str(), measure.c_str(), value, unit.c_str());
  std::fflush(stdout);
}

void TReport::WriteCsv(const std::string& path) const {
  FILE* file = std::fopen(path.c_str(), "w");
  if (!file) return;
  std::fprintf(file, "section,measure,value,unit\n");
  for (const auto& r : results_)
    std::fprintf(file, "%s,\"%s\",%.6f,%s\n", r.Section.c_str(), r.Measure.c_str(), r.Value, r.Unit.c_str());
  std::fclose(file);
}
