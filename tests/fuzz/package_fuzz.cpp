// Fuzz target for the package header reader: any bytes as a cached package. The reader must never
// read outside the file, read much more than the file, or hold memory beyond a small multiple of
// the file's size, and what it returns must come from the file.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "core/package_header.h"
#include "fuzz/package_fuzz_support.h"

namespace {

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
  auto fold = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; };
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return fold(x) == fold(y); });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  TMemoryByteSource source{std::string(bytes)};
  TPackageReading reading;
  const int64_t mostHeldBytes = MostHeldBy([&] { reading = ReadPackageHeader(source); });
  // Each table is read forward once, from its offset to at most the end of the file.
  Check(source.bytesRead <= 3 * size);
  // The result's own strings and the name table's text, with room for growth: never a count's worth.
  Check(mostHeldBytes <= static_cast<int64_t>(32 * size + 16384));

  const TPackageHeader& header = reading.header;
  if (reading.fault != TPackageFault::None) {
    Check(std::strlen(PackageFaultText(reading.fault)) > 0);
    Check(header.neededPackages.empty() && header.generationCount == 0 && !header.guid);
    return 0;
  }
  Check(header.guid.has_value() == (header.version >= 68));
  Check(uint64_t{header.generationCount} * 8 <= size);
  if (header.guid) Check(CacheKeyMatchesGuid(GuidKeyText(*header.guid) + "-1", *header.guid));
  for (size_t i = 0; i < header.neededPackages.size(); ++i) {
    const std::string& name = header.neededPackages[i];
    Check(!name.empty() && name.find('\0') == std::string::npos);
    Check(bytes.find(name) != std::string_view::npos);
    for (size_t j = 0; j < i; ++j) Check(!EqualIgnoringAsciiCase(name, header.neededPackages[j]));
  }
  return 0;
}
