#include "verify/all/page/PackedText.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <queue>
#include <vector>

namespace {

constexpr int kWindow = 32768;
constexpr int kMinMatch = 3;
constexpr int kMaxMatch = 258;
constexpr int kHashBits = 15;
constexpr int kMaxChain = 96;  // candidates tried per position: ratio against time

constexpr std::array<int, 29> kLengthBase = {3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                             15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                             67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<int, 29> kLengthExtra = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                              2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<int, 30> kDistanceBase = {
    1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
    193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::array<int, 30> kDistanceExtra = {0, 0, 0,  0,  1,  1,  2,  2,  3,  3,
                                                4, 4, 5,  5,  6,  6,  7,  7,  8,  8,
                                                9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

// Bits written least significant first, as DEFLATE packs them.
class BitWriter {
 public:
  void Bits(std::uint32_t value, int count) {
    buffer_ |= static_cast<std::uint64_t>(value) << filled_;
    filled_ += count;
    while (filled_ >= 8) {
      out_ += static_cast<char>(buffer_ & 0xff);
      buffer_ >>= 8;
      filled_ -= 8;
    }
  }
  // A Huffman code: its bits go most significant first.
  void Code(std::uint32_t code, int length) {
    std::uint32_t reversed = 0;
    for (int i = 0; i < length; ++i) reversed |= ((code >> i) & 1u) << (length - 1 - i);
    Bits(reversed, length);
  }
  std::string Finish() {
    if (filled_ > 0) out_ += static_cast<char>(buffer_ & 0xff);
    return std::move(out_);
  }

 private:
  std::string out_;
  std::uint64_t buffer_ = 0;
  int filled_ = 0;
};

// An LZ77 token: a literal byte (length 0) or a match of length bytes at distance back.
struct Token {
  std::uint16_t length;
  std::uint16_t distanceOrByte;
};

int LengthCode(int length) {
  int code = 28;
  while (kLengthBase[code] > length) --code;
  return code;
}

int DistanceCode(int distance) {
  int code = 29;
  while (kDistanceBase[code] > distance) --code;
  return code;
}

std::uint32_t Hash(const unsigned char* at) {
  const std::uint32_t v = at[0] | (at[1] << 8) | (at[2] << 16);
  return (v * 2654435761u) >> (32 - kHashBits);
}

// LZ77 over hash chains with one step of lazy matching: a match is taken only when the next
// position does not start a longer one.
std::vector<Token> Tokens(const unsigned char* data, int size) {
  std::vector<Token> tokens;
  // head: the latest position of each hash; previous: the one before, per window slot.
  std::vector<int> head(1 << kHashBits, -1);
  std::vector<int> previous(kWindow, -1);
  int inserted = 0;  // the positions before this one are in the chains
  // The longest match at `at` with an earlier position: its length (0 for none) and distance.
  auto longest = [&](int at, int& distance) {
    for (; inserted < at; ++inserted) {
      if (inserted + kMinMatch > size) continue;
      const std::uint32_t h = Hash(data + inserted);
      previous[inserted & (kWindow - 1)] = head[h];
      head[h] = inserted;
    }
    int best = 0;
    if (at + kMinMatch > size) return best;
    const int limit = std::min(kMaxMatch, size - at);
    int candidate = head[Hash(data + at)];
    for (int chain = 0; candidate >= 0 && at - candidate <= kWindow && chain < kMaxChain; ++chain) {
      if (data[candidate + best] == data[at + best]) {
        int length = 0;
        while (length < limit && data[candidate + length] == data[at + length]) ++length;
        if (length > best) {
          best = length;
          distance = at - candidate;
          if (length == limit) break;
        }
      }
      const int next = previous[candidate & (kWindow - 1)];
      if (next >= candidate) break;  // the slot was reused by a later position
      candidate = next;
    }
    return best >= kMinMatch ? best : 0;
  };
  int at = 0;
  int distance = 0;
  int length = longest(at, distance);
  while (at < size) {
    int nextDistance = 0;
    const int nextLength = length > 0 && length < kMaxMatch ? longest(at + 1, nextDistance) : 0;
    if (length == 0 || nextLength > length) {
      tokens.push_back({0, data[at]});
      ++at;
      if (length == 0) {
        length = longest(at, distance);
      } else {
        length = nextLength;
        distance = nextDistance;
      }
      continue;
    }
    tokens.push_back(
        {static_cast<std::uint16_t>(length), static_cast<std::uint16_t>(distance - 1)});
    at += length;
    length = longest(at, distance);
  }
  return tokens;
}

// Huffman code lengths for the frequencies, none longer than limit: where the tree grows too
// deep the frequencies are flattened and the tree built again. At least two symbols get a
// code, so every code is complete.
std::vector<int> CodeLengths(std::vector<long> frequencies, int limit) {
  const std::size_t count = frequencies.size();
  long used = std::count_if(frequencies.begin(), frequencies.end(), [](long f) { return f > 0; });
  for (std::size_t i = 0; i < count && used < 2; ++i) {
    if (frequencies[i] == 0) {
      frequencies[i] = 1;
      ++used;
    }
  }
  for (;;) {
    // Nodes: the symbols, then the joined ones; parent of each.
    using Node = std::pair<long, int>;  // weight, index
    std::priority_queue<Node, std::vector<Node>, std::greater<>> queue;
    std::vector<int> parent(2 * count, -1);
    for (std::size_t i = 0; i < count; ++i)
      if (frequencies[i] > 0) queue.push({frequencies[i], static_cast<int>(i)});
    int next = static_cast<int>(count);
    while (queue.size() > 1) {
      const Node a = queue.top();
      queue.pop();
      const Node b = queue.top();
      queue.pop();
      parent[a.second] = parent[b.second] = next;
      queue.push({a.first + b.first, next++});
    }
    std::vector<int> lengths(count, 0);
    int longest = 0;
    for (std::size_t i = 0; i < count; ++i) {
      if (frequencies[i] == 0) continue;
      for (int node = parent[i]; node >= 0; node = parent[node]) ++lengths[i];
      longest = std::max(longest, lengths[i]);
    }
    if (longest <= limit) return lengths;
    for (long& f : frequencies)
      if (f > 0) f = (f + 1) / 2;
  }
}

// Canonical codes of the lengths (RFC 1951 3.2.2).
std::vector<std::uint32_t> Codes(const std::vector<int>& lengths) {
  std::array<std::uint32_t, 17> perLength = {};
  for (const int length : lengths) ++perLength[length];
  perLength[0] = 0;
  std::array<std::uint32_t, 17> next = {};
  for (int bits = 1; bits <= 16; ++bits) next[bits] = (next[bits - 1] + perLength[bits - 1]) << 1;
  std::vector<std::uint32_t> codes(lengths.size(), 0);
  for (std::size_t i = 0; i < lengths.size(); ++i)
    if (lengths[i] > 0) codes[i] = next[lengths[i]]++;
  return codes;
}

// The code lengths of both codes, run-length coded with symbols 16 (repeat the previous 3 to
// 6 times), 17 (3 to 10 zeros) and 18 (11 to 138 zeros): pairs of symbol and extra value.
std::vector<std::pair<int, int>> LengthRuns(const std::vector<int>& lengths) {
  std::vector<std::pair<int, int>> runs;
  for (std::size_t i = 0; i < lengths.size();) {
    std::size_t run = 1;
    while (i + run < lengths.size() && lengths[i + run] == lengths[i]) ++run;
    if (lengths[i] == 0 && run >= 3) {
      const std::size_t take = std::min<std::size_t>(run, 138);
      runs.push_back(take >= 11 ? std::pair{18, static_cast<int>(take - 11)}
                                : std::pair{17, static_cast<int>(take - 3)});
      i += take;
    } else if (lengths[i] != 0 && run >= 4) {
      const std::size_t take = std::min<std::size_t>(run - 1, 6);
      runs.push_back({lengths[i], 0});
      runs.push_back({16, static_cast<int>(take - 3)});
      i += take + 1;
    } else {
      runs.push_back({lengths[i], 0});
      ++i;
    }
  }
  return runs;
}

}  // namespace

std::string Deflate(std::string_view bytes) {
  const std::vector<Token> tokens =
      Tokens(reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<int>(bytes.size()));
  std::vector<long> literalCounts(286, 0);
  std::vector<long> distanceCounts(30, 0);
  for (const Token& token : tokens) {
    if (token.length == 0) {
      ++literalCounts[token.distanceOrByte];
    } else {
      ++literalCounts[257 + LengthCode(token.length)];
      ++distanceCounts[DistanceCode(token.distanceOrByte + 1)];
    }
  }
  literalCounts[256] = 1;  // end of block
  const std::vector<int> literalLengths = CodeLengths(literalCounts, 15);
  const std::vector<int> distanceLengths = CodeLengths(distanceCounts, 15);
  int literals = 286;
  while (literalLengths[literals - 1] == 0) --literals;
  int distances = 30;
  while (distances > 1 && distanceLengths[distances - 1] == 0) --distances;
  std::vector<int> both(literalLengths.begin(), literalLengths.begin() + literals);
  both.insert(both.end(), distanceLengths.begin(), distanceLengths.begin() + distances);
  const std::vector<std::pair<int, int>> runs = LengthRuns(both);
  std::vector<long> runCounts(19, 0);
  for (const auto& run : runs) ++runCounts[run.first];
  const std::vector<int> runLengths = CodeLengths(runCounts, 7);
  static constexpr std::array<int, 19> kOrder = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                                 11, 4,  12, 3, 13, 2, 14, 1, 15};
  int orderCount = 19;
  while (orderCount > 4 && runLengths[kOrder[orderCount - 1]] == 0) --orderCount;

  BitWriter out;
  out.Bits(1, 1);  // the final block
  out.Bits(2, 2);  // of codes of its own
  out.Bits(literals - 257, 5);
  out.Bits(distances - 1, 5);
  out.Bits(orderCount - 4, 4);
  for (int i = 0; i < orderCount; ++i) out.Bits(runLengths[kOrder[i]], 3);
  const std::vector<std::uint32_t> runCodes = Codes(runLengths);
  for (const auto& [symbol, extra] : runs) {
    out.Code(runCodes[symbol], runLengths[symbol]);
    if (symbol >= 16) out.Bits(extra, symbol == 16 ? 2 : symbol == 17 ? 3 : 7);
  }
  const std::vector<std::uint32_t> literalCodes = Codes(literalLengths);
  const std::vector<std::uint32_t> distanceCodes = Codes(distanceLengths);
  for (const Token& token : tokens) {
    if (token.length == 0) {
      out.Code(literalCodes[token.distanceOrByte], literalLengths[token.distanceOrByte]);
      continue;
    }
    const int code = LengthCode(token.length);
    out.Code(literalCodes[257 + code], literalLengths[257 + code]);
    out.Bits(token.length - kLengthBase[code], kLengthExtra[code]);
    const int distance = token.distanceOrByte + 1;
    const int dcode = DistanceCode(distance);
    out.Code(distanceCodes[dcode], distanceLengths[dcode]);
    out.Bits(distance - kDistanceBase[dcode], kDistanceExtra[dcode]);
  }
  out.Code(literalCodes[256], literalLengths[256]);
  return out.Finish();
}

std::string Base64Text(std::string_view bytes) {
  static const char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string text;
  text.reserve((bytes.size() + 2) / 3 * 4);
  std::size_t i = 0;
  for (; i + 3 <= bytes.size(); i += 3) {
    const std::uint32_t v = (static_cast<unsigned char>(bytes[i]) << 16) |
                            (static_cast<unsigned char>(bytes[i + 1]) << 8) |
                            static_cast<unsigned char>(bytes[i + 2]);
    text += kDigits[v >> 18];
    text += kDigits[(v >> 12) & 63];
    text += kDigits[(v >> 6) & 63];
    text += kDigits[v & 63];
  }
  if (i < bytes.size()) {
    const bool two = i + 1 < bytes.size();
    const std::uint32_t v = (static_cast<unsigned char>(bytes[i]) << 16) |
                            (two ? static_cast<unsigned char>(bytes[i + 1]) << 8 : 0);
    text += kDigits[v >> 18];
    text += kDigits[(v >> 12) & 63];
    text += two ? kDigits[(v >> 6) & 63] : '=';
    text += '=';
  }
  return text;
}

std::string PackedText(std::string_view text) { return Base64Text(Deflate(text)); }
