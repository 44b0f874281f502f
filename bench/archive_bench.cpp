// The archive sections of the benchmark: what the export and install commands cost against the
// bare zlib loop over the same bytes (the ceiling for the work they do), and the install's peak
// memory for two file sizes.
#include <zlib.h>

#include <cstdio>
#include <cstring>

#include "bench_kit.h"
#include "bench_sections.h"
#include "core/uz2.h"
#include "job/export_run.h"
#include "job/install_files_run.h"
#include "win/file_streams.h"

namespace {

// Package-like bytes, made as they are read: runs of slowly changing bytes with noise between.
class TPackageLikeSource : public IByteSource {
public:
  explicit TPackageLikeSource(std::uint64_t size) : left_(size) {}
  size_t Read(char* buffer, size_t size) override {
    const size_t n = static_cast<size_t>(std::min<std::uint64_t>(size, left_));
    for (size_t i = 0; i < n; ++i, ++at_) {
      state_ = state_ * 1103515245u + 12345u;
      buffer[i] = static_cast<char>(state_ >> 28 == 0 ? state_ >> 16 : at_ / 64);
    }
    left_ -= n;
    return n;
  }

private:
  std::uint64_t left_, at_ = 0;
  std::uint32_t state_ = 2004;
};

class TFileSink : public IByteSink {
public:
  explicit TFileSink(const std::string& path)
      : file_(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)) {}
  void Write(const char* data, size_t size) override {
    DWORD written = 0;
    ::WriteFile(file_.Get(), data, static_cast<DWORD>(size), &written, nullptr);
  }
  void Flush() { ::FlushFileBuffers(file_.Get()); }

private:
  TFileHandle file_;
};

void WritePackageLike(const std::string& path, std::uint64_t size) {
  TPackageLikeSource source(size);
  TFileSink sink(path);
  std::vector<char> buffer(1 << 20);
  for (size_t got; (got = source.Read(buffer.data(), buffer.size())) > 0;) sink.Write(buffer.data(), got);
}

void WriteUz2File(const std::string& path, std::uint64_t originalSize) {
  TPackageLikeSource original(originalSize);
  TFileSink uz2(path);
  WriteUz2(original, uz2);
}

struct TScriptedDialog : IExportDialog {
  TExportChoice Choice;
  std::optional<TExportChoice> ChooseExport() override { return Choice; }
};

struct TScriptedPicker : IPackageFilePicker {
  std::vector<std::string> Files;
  std::optional<std::vector<std::string>> PickPackageFiles(const std::string&, const std::string&) override { return Files; }
};

// The bare loops: read, zlib, write, nothing else.
// flush: as every file the program writes is, before it takes its name.
void BareCompress(const std::string& source, const std::string& dest, bool flush) {
  TFileSource in(source, "read");
  TFileSink out(dest);
  std::vector<char> chunk(Uz2ChunkSize), packed(8 + compressBound(Uz2ChunkSize));
  for (size_t got; (got = ReadFully(in, chunk.data(), chunk.size())) > 0;) {
    uLongf size = static_cast<uLongf>(packed.size() - 8);
    compress(reinterpret_cast<Bytef*>(packed.data() + 8), &size, reinterpret_cast<const Bytef*>(chunk.data()), static_cast<uLong>(got));
    const std::uint32_t sizes[2] = {static_cast<std::uint32_t>(size), static_cast<std::uint32_t>(got)};
    std::memcpy(packed.data(), sizes, 8);
    out.Write(packed.data(), 8 + size);
  }
  if (flush) out.Flush();
}

void BareUncompress(const std::string& source, const std::string& dest, bool flush) {
  TFileSource in(source, "read");
  TFileSink out(dest);
  std::vector<char> packed(compressBound(Uz2ChunkSize)), chunk(Uz2ChunkSize);
  std::uint32_t sizes[2];
  while (ReadFully(in, reinterpret_cast<char*>(sizes), 8) == 8) {
    ReadFully(in, packed.data(), sizes[0]);
    uLongf size = Uz2ChunkSize;
    uncompress(reinterpret_cast<Bytef*>(chunk.data()), &size, reinterpret_cast<const Bytef*>(packed.data()), sizes[0]);
    out.Write(chunk.data(), size);
  }
  if (flush) out.Flush();
}

void BareDeflate(const std::vector<std::string>& sources, const std::string& dest) {
  TFileSink out(dest);
  z_stream z{};
  deflateInit2(&z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
  std::vector<char> in(32768), packed(32768);
  for (const std::string& source : sources) {
    TFileSource file(source, "read");
    deflateReset(&z);
    int flush = Z_NO_FLUSH;
    for (int status = Z_OK; status != Z_STREAM_END;) {
      if (z.avail_in == 0 && flush == Z_NO_FLUSH) {
        const size_t got = file.Read(in.data(), in.size());
        z.next_in = reinterpret_cast<Bytef*>(in.data());
        z.avail_in = static_cast<uInt>(got);
        if (got == 0) flush = Z_FINISH;
      }
      z.next_out = reinterpret_cast<Bytef*>(packed.data());
      z.avail_out = static_cast<uInt>(packed.size());
      status = deflate(&z, flush);
      out.Write(packed.data(), packed.size() - z.avail_out);
    }
  }
  deflateEnd(&z);
}

// The command and its bare loop, run in turns so that both meet the same load of the machine;
// the median seconds of each.
std::pair<double, double> InTurns(bool quick, const std::function<void()>& ours, const std::function<void()>& bare) {
  std::vector<double> oursTimes, bareTimes;
  for (int i = 0; i < (quick ? 3 : 5); ++i) {
    oursTimes.push_back(MedianSeconds(1, {}, ours));
    bareTimes.push_back(MedianSeconds(1, {}, bare));
  }
  return {Median(oursTimes), Median(bareTimes)};
}

// A command against its bare loop, once as the loop is and once with the flush that every file the
// program writes gets, each with its ratio.
void AgainstBareLoop(TReport& report, bool quick, const std::string& section, const std::string& label,
                     const std::string& command, const std::function<void()>& ours, const std::string& loop,
                     const std::function<void(bool flush)>& bare) {
  for (bool flush : {false, true}) {
    const auto [oursTime, bareTime] = InTurns(quick, ours, [&] { bare(flush); });
    const std::string loopName = loop + (flush ? ", flushed" : "");
    report.Add(section, label + command, oursTime, "s");
    report.Add(section, label + loopName, bareTime, "s");
    report.Add(section, label + "throughput vs " + loopName, bareTime / oursTime, "ratio");
  }
}

std::string PayloadOf(const TBench& bench, unsigned entry) { return bench.prefs.CachePath + CacheGuid(entry) + "-1.uxx"; }

}  // namespace

void Uz2ExportSection(TReport& report, const std::string& game, bool quick) {
  TBench bench(game);
  const std::uint64_t size = std::uint64_t(quick ? 16 : 64) << 20;
  MakeCache(bench.prefs.CachePath, 1, 0, TPayloads::None);
  WritePackageLike(PayloadOf(bench, 0), size);
  bench.OpenCache();
  bench.form->SetRowTicked(0, true);
  TScriptedDialog dialog;
  dialog.Choice = {TExportForm::RedirectUz2, game + "Redirect"};
  const std::string label = std::to_string(size >> 20) + " MiB package: ";
  AgainstBareLoop(report, quick, "uz2-export", label, "Export selected as .uz2",
                  [&] { bench.form->Commands().Export1Click(dialog); }, "bare compress() loop",
                  [&](bool flush) { BareCompress(PayloadOf(bench, 0), game + "bare.uz2", flush); });
}

void Uz2InstallSection(TReport& report, const std::string& game, bool quick) {
  TBench bench(game);
  const std::uint64_t size = std::uint64_t(quick ? 16 : 100) << 20;
  const std::string downloaded = game + "DM-Big.ut2.uz2";
  WriteUz2File(downloaded, size);
  TScriptedPicker picker;
  picker.Files = {downloaded};
  const std::string label = std::to_string(size >> 20) + " MiB package: ";
  AgainstBareLoop(report, quick, "uz2-install", label, "Install package files from .uz2",
                  [&] { bench.form->Commands().InstallFiles1Click(picker); }, "bare uncompress() loop",
                  [&](bool flush) { BareUncompress(downloaded, game + "bare.ut2", flush); });
}

void ZipExportSection(TReport& report, const std::string& game, bool quick) {
  TBench bench(game);
  const unsigned packages = quick ? 200 : 1000;
  MakeCache(bench.prefs.CachePath, packages, 64 << 10, TPayloads::Every);
  bench.OpenCache();
  bench.form->SelectAll1Click();
  TScriptedDialog dialog;
  dialog.Choice = {TExportForm::ZipArchive, game + "Friends"};
  std::vector<std::string> payloads;
  for (unsigned i = 0; i < packages; ++i) payloads.push_back(PayloadOf(bench, i));
  const auto [ours, bare] = InTurns(quick, [&] { bench.form->Commands().Export1Click(dialog); },
                                    [&] { BareDeflate(payloads, game + "bare.deflate"); });
  const std::string label = std::to_string(packages) + " packages of 64 KiB";
  report.Add("zip-export", label + ": Export selected as zip", ours, "s");
  report.Add("zip-export", label + ": bare deflate loop", bare, "s");
  report.Add("zip-export", label + ": throughput vs bare loop", bare / ours, "ratio");
}

int InstallMemory(const std::string& uz2Path) {
  TTempFolder temp;
  TBench bench(temp.Path());
  TScriptedPicker picker;
  picker.Files = {uz2Path};
  bench.form->Commands().InstallFiles1Click(picker);
  std::printf("%zu\n", PeakWorkingSet());
  return 0;
}

void ArchiveMemorySection(TReport& report, const std::string& game, bool quick) {
  double previous = 0;
  for (unsigned mib : {quick ? 8u : 16u, quick ? 64u : 256u}) {
    const std::string uz2 = game + "DM-Size" + std::to_string(mib) + ".ut2.uz2";
    WriteUz2File(uz2, std::uint64_t(mib) << 20);
    const double peak = ChildPeakMiB("--install-memory \"" + uz2 + "\"");
    if (peak < 0) continue;
    const std::string label = std::to_string(mib) + " MiB .uz2 installed";
    report.Add("archive-memory", label + ": peak working set", peak, "MiB");
    if (previous > 0) report.Add("archive-memory", label + ": growth against the smaller file", peak / previous, "x");
    previous = peak;
  }
}
