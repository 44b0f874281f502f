#include "core/zlib_streams.h"

#include <algorithm>
#include <new>

namespace {

constexpr size_t InputPiece = 16384;
constexpr size_t OutputPiece = 32768;

}  // namespace

// zlib fails to start a stream only for want of memory once its version is the one compiled against.
TInflater::TInflater(int windowBits) : in_(InputPiece), out_(OutputPiece) {
  if (inflateInit2(&stream_, windowBits) != Z_OK) throw std::bad_alloc();
}

TInflater::~TInflater() { inflateEnd(&stream_); }

TDeflater::TDeflater(int windowBits, int level) {
  if (deflateInit2(&stream_, level, Z_DEFLATED, windowBits, 8, Z_DEFAULT_STRATEGY) != Z_OK) throw std::bad_alloc();
}

TDeflater::~TDeflater() { deflateEnd(&stream_); }

TInflateResult TInflater::InflateExactly(IByteSource& input, std::uint64_t inputSize, std::uint64_t outputSize,
                                         IByteSink& output) {
  z_stream& z = stream_;
  inflateReset(&z);
  z.avail_in = 0;
  std::uint64_t inputLeft = inputSize, outputLeft = outputSize;
  const auto readInput = [&] {
    const size_t got = input.Read(in_.data(), static_cast<size_t>(std::min<std::uint64_t>(inputLeft, in_.size())));
    inputLeft -= got;
    z.next_in = reinterpret_cast<Bytef*>(in_.data());
    z.avail_in = static_cast<uInt>(got);
    return got > 0;
  };
  for (;;) {
    if (z.avail_in == 0 && inputLeft > 0 && !readInput()) return TInflateResult::InputCut;
    z.next_out = reinterpret_cast<Bytef*>(out_.data());
    z.avail_out = static_cast<uInt>(out_.size());
    const int status = inflate(&z, Z_NO_FLUSH);
    if (status == Z_MEM_ERROR) throw std::bad_alloc();
    const size_t made = out_.size() - z.avail_out;
    if (made > outputLeft) return TInflateResult::OutputDiffers;
    if (made > 0) output.Write(out_.data(), made);
    outputLeft -= made;
    if (status == Z_STREAM_END) break;
    // Without progress and with every input byte given, the stream stops short of its end.
    const bool stalled = status == Z_BUF_ERROR && z.avail_in == 0 && inputLeft == 0;
    if (stalled || (status != Z_OK && status != Z_BUF_ERROR)) return TInflateResult::NotCompressedData;
  }
  if (z.avail_in == 0 && inputLeft == 0)
    return outputLeft == 0 ? TInflateResult::Complete : TInflateResult::OutputDiffers;
  // The stream ends early; when the input is cut short as well, the cut is the fault reported.
  while (inputLeft > 0)
    if (!readInput()) return TInflateResult::InputCut;
  return TInflateResult::InputLeftOver;
}
