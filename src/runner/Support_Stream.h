// The one byte stream every stored form goes through: the game file, save games, written data
// structures and variable dumps. All values are little-endian.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace zorvex {

// Raised by a read past the end of a stream or by a corrupt compressed block. It is the only
// failure that is thrown: loaders trap it and turn it into their own message.
class StreamReadError : public std::runtime_error {
 public:
  explicit StreamReadError(const std::string& what) : std::runtime_error(what) {}
};

struct CImage;

class CStream {
 public:
  CStream() = default;
  explicit CStream(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}

  size_t Size() const { return bytes_.size(); }
  size_t Position() const { return pos_; }
  void Seek(size_t pos) { pos_ = pos; }
  size_t Remaining() const { return pos_ < bytes_.size() ? bytes_.size() - pos_ : 0; }
  bool AtEnd() const { return pos_ >= bytes_.size(); }

  // The whole content, addressable in place (descrambling works on it).
  uint8_t* Data() { return bytes_.data(); }
  const uint8_t* Data() const { return bytes_.data(); }
  std::vector<uint8_t>& Bytes() { return bytes_; }
  const std::vector<uint8_t>& Bytes() const { return bytes_; }
  void Clear() {
    bytes_.clear();
    pos_ = 0;
  }

  void ReadBytes(void* dst, size_t n);
  void WriteBytes(const void* src, size_t n);
  void Skip(size_t n);

  int32_t ReadInt();
  double ReadReal();
  bool ReadBool();  // true exactly when the stored int32 is greater than 0
  std::string ReadString();
  // The next n bytes as a new stream positioned at 0.
  std::unique_ptr<CStream> ReadRawBlock();
  // The next block inflated (zlib format) as a new stream positioned at 0.
  std::unique_ptr<CStream> ReadCompressedBlock();
  // A present flag and, when set, a compressed BMP file. A BMP that does not decode gives no
  // image, silently; a truncated or corrupt block still throws.
  std::unique_ptr<CImage> ReadImage();

  void WriteInt(int32_t v);
  void WriteReal(double v);
  void WriteBool(bool v) { WriteInt(v ? 1 : 0); }
  void WriteString(std::string_view s);
  // Writer side of the blocks, used by the builder and by save files.
  void WriteRawBlock(const CStream& block);
  void WriteCompressedBlock(const uint8_t* data, size_t n);
  void WriteCompressedBlock(const CStream& block) {
    WriteCompressedBlock(block.Data(), block.Size());
  }
  // nullptr writes an absent image.
  void WriteImage(const CImage* image);

 private:
  std::vector<uint8_t> bytes_;
  size_t pos_ = 0;
};

// Inflates a zlib stream; throws StreamReadError when the data is corrupt or truncated.
std::vector<uint8_t> InflateBytes(const uint8_t* data, size_t n);
std::vector<uint8_t> DeflateBytes(const uint8_t* data, size_t n);

// The byte substitution that scrambles the game block, script texts and extension files.
struct Substitution {
  uint8_t forward[256];
  uint8_t inverse[256];
};

// Seeds whose table would index outside 0..255 never occur in real games; they are refused.
bool SeedIsValid(int32_t seed);
// Fills the tables; returns false (tables untouched) for a seed that is not valid.
bool BuildSubstitution(int32_t seed, Substitution& table);
// length <= 0 means up to the end of the stream. Return false for an invalid seed or a range
// outside the stream, changing nothing.
bool DescrambleBlock(CStream& stream, int32_t seed, int64_t start, int64_t length);
bool DescramblePlain(CStream& stream, int32_t seed, int64_t start, int64_t length);
// The builder's inverses of the two above.
bool ScrambleBlock(CStream& stream, int32_t seed, int64_t start, int64_t length);
bool ScramblePlain(CStream& stream, int32_t seed, int64_t start, int64_t length);

// Two upper-case hexadecimal digits per byte of the whole stream.
std::string StreamToHex(const CStream& stream);
// Replaces the stream's content; false (stream emptied) when a pair is not hexadecimal.
bool HexToStream(CStream& stream, std::string_view hex);

}  // namespace zorvex
