#include "smtp/md5.h"

#include "common/format.h"

namespace larkspin {

namespace {
// Per-step shift amounts and the sine-derived constants of RFC 1321, section 3.4.
constexpr uint32_t kShifts[64] = {7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22,
                                  5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20,
                                  4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23,
                                  6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21};
constexpr uint32_t kSines[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391};

uint32_t RotateLeft(uint32_t value, uint32_t count) { return (value << count) | (value >> (32 - count)); }

struct Md5State {
  uint32_t a = 0x67452301, b = 0xefcdab89, c = 0x98badcfe, d = 0x10325476;
};

// One step's mixing function and message word, by round (RFC 1321, section 3.4).
void RoundFunction(size_t step, const Md5State& s, uint32_t& mixed, size_t& word) {
  if (step < 16) {
    mixed = (s.b & s.c) | (~s.b & s.d);
    word = step;
  } else if (step < 32) {
    mixed = (s.d & s.b) | (~s.d & s.c);
    word = (5 * step + 1) % 16;
  } else if (step < 48) {
    mixed = s.b ^ s.c ^ s.d;
    word = (3 * step + 5) % 16;
  } else {
    mixed = s.c ^ (s.b | ~s.d);
    word = (7 * step) % 16;
  }
}

void ProcessBlock(Md5State& state, const uint8_t* block) {
  uint32_t words[16];
  for (size_t i = 0; i < 16; ++i) {
    words[i] = uint32_t{block[4 * i]} | (uint32_t{block[4 * i + 1]} << 8) | (uint32_t{block[4 * i + 2]} << 16) |
               (uint32_t{block[4 * i + 3]} << 24);
  }
  Md5State s = state;
  for (size_t step = 0; step < 64; ++step) {
    uint32_t mixed;
    size_t word;
    RoundFunction(step, s, mixed, word);
    const uint32_t rotated = RotateLeft(s.a + mixed + kSines[step] + words[word], kShifts[step]);
    s.a = s.d;
    s.d = s.c;
    s.c = s.b;
    s.b = s.b + rotated;
  }
  state.a += s.a;
  state.b += s.b;
  state.c += s.c;
  state.d += s.d;
}

// The message with its padding: a 1 bit, zeros up to 56 bytes mod 64, then the bit length.
std::string PaddedMessage(std::string_view bytes) {
  std::string padded(bytes);
  padded += static_cast<char>(0x80);
  while (padded.size() % 64 != 56) padded += '\0';
  const uint64_t bit_length = static_cast<uint64_t>(bytes.size()) * 8;
  for (size_t i = 0; i < 8; ++i) padded += static_cast<char>((bit_length >> (8 * i)) & 0xFF);
  return padded;
}

void StoreWord(Md5Digest& digest, size_t offset, uint32_t value) {
  for (size_t i = 0; i < 4; ++i) digest[offset + i] = static_cast<uint8_t>((value >> (8 * i)) & 0xFF);
}
}  // namespace

Md5Digest ComputeMd5(std::string_view bytes) {
  const std::string padded = PaddedMessage(bytes);
  Md5State state;
  for (size_t offset = 0; offset < padded.size(); offset += 64) {
    ProcessBlock(state, reinterpret_cast<const uint8_t*>(padded.data() + offset));
  }
  Md5Digest digest;
  StoreWord(digest, 0, state.a);
  StoreWord(digest, 4, state.b);
  StoreWord(digest, 8, state.c);
  StoreWord(digest, 12, state.d);
  return digest;
}

std::string DigestToHex(const Md5Digest& digest) {
  std::string hex;
  for (const uint8_t byte : digest) hex += FormatText("%02x", byte);
  return hex;
}

}  // namespace larkspin
