#pragma once
// zlib's streams, ended on every path, and the exact inflation that .uz2 chunks and zip members
// share.
#include <zlib.h>

#include <cstdint>
#include <vector>

#include "core/byte_streams.h"

// zlib's window bits for a zlib stream with its header and check (a .uz2 chunk) and for raw
// deflate data (a zip member).
inline constexpr int ZlibStreamWindow = 15;
inline constexpr int RawDeflateWindow = -15;

enum class TInflateResult {
  Complete,           // the compressed bytes were exactly one stream giving exactly the bytes expected
  InputCut,           // the input ended before its stated size
  NotCompressedData,  // zlib refused the bytes, or they stop before the stream's end
  OutputDiffers,      // the stream gives more or fewer bytes than expected
  InputLeftOver,      // the stream ends before the input's stated size
};

// An inflate stream and its buffers, made once and reset for each stream: making zlib's state
// anew for every chunk or member costs more than inflating a small one.
class TInflater {
public:
  explicit TInflater(int windowBits);
  ~TInflater();
  TInflater(const TInflater&) = delete;
  TInflater& operator=(const TInflater&) = delete;

  // Inflates inputSize bytes read from input (never more) and writes what they give to output,
  // in pieces, as it goes.
  TInflateResult InflateExactly(IByteSource& input, std::uint64_t inputSize, std::uint64_t outputSize, IByteSink& output);

private:
  z_stream stream_{};
  std::vector<char> in_, out_;
};

class TDeflater {
public:
  TDeflater(int windowBits, int level);
  ~TDeflater();
  TDeflater(const TDeflater&) = delete;
  TDeflater& operator=(const TDeflater&) = delete;
  z_stream& Stream() { return stream_; }

private:
  z_stream stream_{};
};
