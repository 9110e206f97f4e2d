// The adaptive Huffman model here is written on its own, from the rules of
// the format, rather than shared with the program's decoder, so that a round
// trip through both tests one against the other.
#include "LzhEncoder.h"

#include <array>
#include <cstring>

namespace {

constexpr int kRing = 4096;
constexpr int kMaxMatch = 60;
constexpr int kMinMatch = 3;
constexpr int kLeaves = 314;        // 256 bytes + 58 match lengths (3..60)
constexpr int kNodes = 2 * kLeaves - 1;
constexpr int kTop = kNodes - 1;    // root node
constexpr unsigned kRebuildAt = 0x8000;
constexpr int kPrefill = kRing - kMaxMatch;  // the decoder starts with this many spaces

class BitWriter {
 public:
  std::vector<uint8_t> out;
  void Put(unsigned bit) {
    acc_ = static_cast<uint8_t>(acc_ << 1 | (bit & 1));
    if (++n_ == 8) { out.push_back(acc_); acc_ = 0; n_ = 0; }
  }
  void PutBits(unsigned value, int count) {
    for (int i = count - 1; i >= 0; i--) Put((value >> i) & 1);
  }
  void Flush() {
    if (n_) { out.push_back(static_cast<uint8_t>(acc_ << (8 - n_))); acc_ = 0; n_ = 0; }
  }
 private:
  uint8_t acc_ = 0;
  int n_ = 0;
};

// Node table kept sorted by weight; node k's children are child[k] and
// child[k] + 1, or it is a leaf when child[k] >= kNodes (symbol child - kNodes).
struct Model {
  std::array<unsigned, kNodes + 1> weight{};
  std::array<int, kNodes> child{};
  std::array<int, kNodes + kLeaves> up{};  // parent of a node, or of a symbol at kNodes + s

  Model() {
    for (int s = 0; s < kLeaves; s++) {
      weight[s] = 1;
      child[s] = kNodes + s;
      up[kNodes + s] = s;
    }
    int next = 0;
    for (int k = kLeaves; k < kNodes; k++) {
      weight[k] = weight[next] + weight[next + 1];
      child[k] = next;
      up[next] = up[next + 1] = k;
      next += 2;
    }
    weight[kNodes] = 0xFFFF;
    up[kTop] = 0;
  }

  void SetParentsOf(int k) {
    int c = child[k];
    up[c] = k;
    if (c < kNodes) up[c + 1] = k;
  }

  void Rebuild() {
    // Leaves first, in table order, with their weights halved (rounding up).
    std::array<unsigned, kNodes + 1> w{};
    std::array<int, kNodes> ch{};
    int n = 0;
    for (int k = 0; k < kNodes; k++)
      if (child[k] >= kNodes) { w[n] = (weight[k] + 1) / 2; ch[n] = child[k]; n++; }
    // Pair them off from the front; each new node goes behind the last node
    // that does not weigh more.
    for (int pair = 0, k = kLeaves; k < kNodes; pair += 2, k++) {
      unsigned sum = w[pair] + w[pair + 1];
      int at = k;
      while (at > 0 && w[at - 1] > sum) at--;
      std::memmove(&w[at + 1], &w[at], sizeof(unsigned) * static_cast<size_t>(k - at));
      std::memmove(&ch[at + 1], &ch[at], sizeof(int) * static_cast<size_t>(k - at));
      w[at] = sum;
      ch[at] = pair;
    }
    for (int k = 0; k < kNodes; k++) { weight[k] = w[k]; child[k] = ch[k]; }
    for (int k = 0; k < kNodes; k++) SetParentsOf(k);
  }

  void Count(int symbol) {
    if (weight[kTop] >= kRebuildAt) Rebuild();
    int node = up[kNodes + symbol];
    while (true) {
      unsigned grown = ++weight[node];
      if (grown > weight[node + 1]) {
        int last = node + 1;
        while (weight[last + 1] < grown) last++;
        // Exchange node and last: weights and subtrees.
        weight[node] = weight[last];
        weight[last] = grown;
        std::swap(child[node], child[last]);
        SetParentsOf(node);
        SetParentsOf(last);
        node = last;
      }
      node = up[node];
      if (node == 0) break;
    }
  }

  void Encode(int symbol, BitWriter& bits) {
    // Path from the leaf up; a node's bit is its parity (right child odd).
    int path[kNodes];
    int n = 0;
    for (int k = up[kNodes + symbol]; k != kTop; k = up[k]) path[n++] = k & 1;
    while (n > 0) bits.Put(static_cast<unsigned>(path[--n]));
    Count(symbol);
  }
};

// Upper 6 bits of a distance as (prefix bits, prefix length): 32 byte values
// carry code 0 in 3 bits, 16 each codes 1-3 in 4 bits, 8 each codes 4-11 in 5,
// 4 each codes 12-23 in 6, 2 each codes 24-47 in 7, 1 each codes 48-63 in 8.
void DistancePrefix(int upper, unsigned& prefix, int& length) {
  struct Run { int first, last, bits, firstByte; };
  static const Run runs[] = {{0, 0, 3, 0},    {1, 3, 4, 32},    {4, 11, 5, 80},
                             {12, 23, 6, 144}, {24, 47, 7, 192}, {48, 63, 8, 240}};
  for (const Run& r : runs) {
    if (upper >= r.first && upper <= r.last) {
      int perCode = 1 << (8 - r.bits);
      unsigned byte = static_cast<unsigned>(r.firstByte + (upper - r.first) * perCode);
      prefix = byte >> (8 - r.bits);
      length = r.bits;
      return;
    }
  }
  prefix = 0;
  length = 3;
}

}  // namespace

std::vector<uint8_t> LzhEncode(const std::vector<uint8_t>& data) {
  // The window as the decoder sees it: its prefill of spaces, then the data.
  std::vector<uint8_t> text(static_cast<size_t>(kPrefill), ' ');
  text.insert(text.end(), data.begin(), data.end());

  // Hash chains over 3-byte prefixes.
  constexpr int kHashBits = 15;
  std::vector<int> head(1 << kHashBits, -1);
  std::vector<int> prev(text.size(), -1);
  auto hash = [&](size_t i) {
    return ((text[i] << 10) ^ (text[i + 1] << 5) ^ text[i + 2]) & ((1 << kHashBits) - 1);
  };
  auto insert = [&](size_t i) {
    if (i + 2 >= text.size()) return;
    int h = hash(i);
    prev[i] = head[h];
    head[h] = static_cast<int>(i);
  };
  for (size_t i = 0; i < static_cast<size_t>(kPrefill); i++) insert(i);

  Model model;
  BitWriter bits;
  size_t pos = kPrefill;
  while (pos < text.size()) {
    int bestLen = 0;
    size_t bestAt = 0;
    size_t limit = std::min<size_t>(kMaxMatch, text.size() - pos);
    if (limit >= static_cast<size_t>(kMinMatch)) {
      int chain = 512;
      for (int cand = head[hash(pos)]; cand >= 0 && chain-- > 0; cand = prev[cand]) {
        size_t back = pos - static_cast<size_t>(cand);
        if (back > static_cast<size_t>(kRing - kMaxMatch)) break;
        size_t len = 0;
        while (len < limit && text[cand + len] == text[pos + len]) len++;
        if (static_cast<int>(len) > bestLen) {
          bestLen = static_cast<int>(len);
          bestAt = static_cast<size_t>(cand);
          if (len == limit) break;
        }
      }
    }
    if (bestLen >= kMinMatch) {
      model.Encode(256 + bestLen - kMinMatch, bits);
      int distance = static_cast<int>(pos - bestAt - 1);
      unsigned prefix;
      int plen;
      DistancePrefix(distance >> 6, prefix, plen);
      bits.PutBits(prefix, plen);
      bits.PutBits(static_cast<unsigned>(distance & 0x3F), 6);
      for (int k = 0; k < bestLen; k++) insert(pos + static_cast<size_t>(k));
      pos += static_cast<size_t>(bestLen);
    } else {
      model.Encode(text[pos], bits);
      insert(pos);
      pos++;
    }
  }
  bits.Flush();
  return bits.out;
}

std::vector<uint8_t> LzhPack(const std::vector<uint8_t>& data) {
  std::vector<uint8_t> out(4);
  uint32_t n = static_cast<uint32_t>(data.size());
  for (int i = 0; i < 4; i++) out[i] = static_cast<uint8_t>(n >> (8 * i));
  std::vector<uint8_t> stream = LzhEncode(data);
  out.insert(out.end(), stream.begin(), stream.end());
  return out;
}
