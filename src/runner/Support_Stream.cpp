#include "runner/Support_Stream.h"

#include <zlib.h>

#include "runner/Support_Image.h"

#include <cstring>

namespace zorvex {

void CStream::ReadBytes(void* dst, size_t n) {
  if (n > Remaining()) throw StreamReadError("read past the end of the stream");
  if (n > 0) std::memcpy(dst, bytes_.data() + pos_, n);
  pos_ += n;
}

void CStream::Skip(size_t n) {
  if (n > Remaining()) throw StreamReadError("read past the end of the stream");
  pos_ += n;
}

void CStream::WriteBytes(const void* src, size_t n) {
  if (n == 0) return;
  if (pos_ + n > bytes_.size()) bytes_.resize(pos_ + n);
  std::memcpy(bytes_.data() + pos_, src, n);
  pos_ += n;
}

int32_t CStream::ReadInt() {
  uint8_t b[4];
  ReadBytes(b, 4);
  return static_cast<int32_t>(uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 |
                              uint32_t(b[3]) << 24);
}

double CStream::ReadReal() {
  uint8_t b[8];
  ReadBytes(b, 8);
  uint64_t bits = 0;
  for (int i = 7; i >= 0; --i)
    bits = bits << 8 | b[i];
  double v;
  std::memcpy(&v, &bits, 8);
  return v;
}

bool CStream::ReadBool() {
  return ReadInt() > 0;
}

std::string CStream::ReadString() {
  int32_t n = ReadInt();
  if (n <= 0) return std::string();
  if (static_cast<size_t>(n) > Remaining()) throw StreamReadError("string past the end");
  std::string s(reinterpret_cast<const char*>(bytes_.data() + pos_), static_cast<size_t>(n));
  pos_ += static_cast<size_t>(n);
  return s;
}

std::unique_ptr<CStream> CStream::ReadRawBlock() {
  int32_t n = ReadInt();
  // A negative size cannot come from a writer; reading on would lose step with the data.
  if (n < 0 || static_cast<size_t>(n) > Remaining()) throw StreamReadError("block past the end");
  auto out = std::make_unique<CStream>();
  if (n == 0) return out;
  out->bytes_.assign(bytes_.begin() + static_cast<ptrdiff_t>(pos_),
                     bytes_.begin() + static_cast<ptrdiff_t>(pos_ + static_cast<size_t>(n)));
  pos_ += static_cast<size_t>(n);
  return out;
}

std::unique_ptr<CStream> CStream::ReadCompressedBlock() {
  int32_t n = ReadInt();
  if (n < 0 || static_cast<size_t>(n) > Remaining()) throw StreamReadError("block past the end");
  auto out = std::make_unique<CStream>(InflateBytes(bytes_.data() + pos_, static_cast<size_t>(n)));
  pos_ += static_cast<size_t>(n);
  return out;
}

std::unique_ptr<CImage> CStream::ReadImage() {
  if (!ReadBool()) return nullptr;
  std::unique_ptr<CStream> bmp = ReadCompressedBlock();
  return DecodeBmp(bmp->Data(), bmp->Size());
}

void CStream::WriteImage(const CImage* image) {
  WriteBool(image != nullptr);
  if (image == nullptr) return;
  std::vector<uint8_t> bmp = EncodeBmp(*image, /*with_alpha=*/true);
  WriteCompressedBlock(bmp.data(), bmp.size());
}

void CStream::WriteInt(int32_t v) {
  uint32_t u = static_cast<uint32_t>(v);
  uint8_t b[4] = {uint8_t(u), uint8_t(u >> 8), uint8_t(u >> 16), uint8_t(u >> 24)};
  WriteBytes(b, 4);
}

void CStream::WriteReal(double v) {
  uint64_t bits;
  std::memcpy(&bits, &v, 8);
  uint8_t b[8];
  for (int i = 0; i < 8; ++i)
    b[i] = uint8_t(bits >> (8 * i));
  WriteBytes(b, 8);
}

void CStream::WriteString(std::string_view s) {
  WriteInt(static_cast<int32_t>(s.size()));
  WriteBytes(s.data(), s.size());
}

void CStream::WriteRawBlock(const CStream& block) {
  WriteInt(static_cast<int32_t>(block.Size()));
  WriteBytes(block.Data(), block.Size());
}

void CStream::WriteCompressedBlock(const uint8_t* data, size_t n) {
  std::vector<uint8_t> packed = DeflateBytes(data, n);
  WriteInt(static_cast<int32_t>(packed.size()));
  WriteBytes(packed.data(), packed.size());
}

std::vector<uint8_t> InflateBytes(const uint8_t* data, size_t n) {
  constexpr size_t kPiece = 32768;
  z_stream zs{};
  if (inflateInit(&zs) != Z_OK) throw StreamReadError("inflate could not start");
  std::vector<uint8_t> out;
  size_t fed = 0;
  int rc = Z_OK;
  uint8_t piece[kPiece];
  while (rc != Z_STREAM_END) {
    if (zs.avail_in == 0) {
      size_t take = std::min(kPiece, n - fed);
      zs.next_in = const_cast<Bytef*>(data + fed);
      zs.avail_in = static_cast<uInt>(take);
      fed += take;
    }
    zs.next_out = piece;
    zs.avail_out = kPiece;
    rc = inflate(&zs, Z_NO_FLUSH);
    out.insert(out.end(), piece, piece + (kPiece - zs.avail_out));
    // No progress with all input used means the data ends before the zlib stream does.
    if (rc == Z_BUF_ERROR && zs.avail_in == 0 && fed == n) rc = Z_DATA_ERROR;
    if (rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR) {
      inflateEnd(&zs);
      throw StreamReadError("corrupt compressed block");
    }
  }
  inflateEnd(&zs);
  return out;
}

std::vector<uint8_t> DeflateBytes(const uint8_t* data, size_t n) {
  uLongf cap = compressBound(static_cast<uLong>(n));
  std::vector<uint8_t> out(cap);
  if (compress2(out.data(), &cap, data, static_cast<uLong>(n), Z_DEFAULT_COMPRESSION) != Z_OK)
    return {};
  out.resize(cap);
  return out;
}

bool SeedIsValid(int32_t seed) {
  // b = seed div 250 must end up in 0..255 for (i*a + b) mod 254 to stay non-negative.
  int32_t b = seed / 250;
  if (b < 0) b += 256;
  return b >= 0;
}

bool BuildSubstitution(int32_t seed, Substitution& t) {
  if (!SeedIsValid(seed)) return false;
  int32_t a = seed % 250 + 6;
  if (a < 0) a += 256;
  int32_t b = seed / 250;
  if (b < 0) b += 256;
  for (int i = 0; i < 256; ++i)
    t.forward[i] = t.inverse[i] = static_cast<uint8_t>(i);
  for (int32_t i = 1; i <= 10000; ++i) {
    // a <= 255 and b < 2^23, so i*a + b stays far below 2^31.
    int32_t j = (i * a + b) % 254 + 1;
    std::swap(t.forward[j], t.forward[j + 1]);
  }
  for (int i = 1; i < 256; ++i)
    t.inverse[t.forward[i]] = static_cast<uint8_t>(i);
  return true;
}

namespace {

bool ResolveRange(const CStream& s, int64_t start, int64_t& length) {
  int64_t size = static_cast<int64_t>(s.Size());
  if (length <= 0) length = size - start;
  return start >= 0 && length >= 0 && start + length <= size;
}

template <bool kPositional, bool kInverse>
bool Transform(CStream& s, int32_t seed, int64_t start, int64_t length) {
  Substitution t;
  if (!BuildSubstitution(seed, t) || !ResolveRange(s, start, length)) return false;
  uint8_t* d = s.Data();
  for (int64_t p = start; p < start + length; ++p) {
    uint8_t v = d[p];
    if constexpr (kInverse) {
      v = t.inverse[v];
      if constexpr (kPositional) v = static_cast<uint8_t>(v - (p & 0xFF));
    } else {
      if constexpr (kPositional) v = static_cast<uint8_t>(v + (p & 0xFF));
      v = t.forward[v];
    }
    d[p] = v;
  }
  return true;
}

}  // namespace

bool DescrambleBlock(CStream& s, int32_t seed, int64_t start, int64_t length) {
  return Transform<true, true>(s, seed, start, length);
}
bool DescramblePlain(CStream& s, int32_t seed, int64_t start, int64_t length) {
  return Transform<false, true>(s, seed, start, length);
}
bool ScrambleBlock(CStream& s, int32_t seed, int64_t start, int64_t length) {
  return Transform<true, false>(s, seed, start, length);
}
bool ScramblePlain(CStream& s, int32_t seed, int64_t start, int64_t length) {
  return Transform<false, false>(s, seed, start, length);
}

std::string StreamToHex(const CStream& stream) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(stream.Size() * 2);
  for (uint8_t b : stream.Bytes()) {
    out.push_back(kDigits[b >> 4]);
    out.push_back(kDigits[b & 15]);
  }
  return out;
}

namespace {
int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}
}  // namespace

bool HexToStream(CStream& stream, std::string_view hex) {
  stream.Clear();
  std::vector<uint8_t>& out = stream.Bytes();
  out.reserve(hex.size() / 2);
  for (size_t k = 0; k + 1 < hex.size(); k += 2) {
    int hi = HexDigit(hex[k]), lo = HexDigit(hex[k + 1]);
    if (hi < 0 || lo < 0) {
      stream.Clear();
      return false;
    }
    out.push_back(static_cast<uint8_t>(hi << 4 | lo));
  }
  stream.Seek(0);
  return true;
}

}  // namespace zorvex
