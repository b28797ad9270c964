#include "data_structures/Support_Data_Structures.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <iterator>
#include <numeric>
#include <utility>

#include "code/Variable_Class.h"
#include "runner/Support_Stream.h"

namespace zorvex {

// ---------------------------------------------------------------------------------------------
// Comparison

int DS_CompareReals(double a, double b, double precision) {
  if (a == b) return 0;  // also equal infinities, whose difference is not a number
  double tolerance = precision;
  if (precision == 0.0) tolerance = std::max(std::min(std::fabs(a), std::fabs(b)) * 1e-12, 1e-12);
  if (std::fabs(a - b) <= tolerance) return 0;
  return a < b ? -1 : 1;
}

int DS_Compare(const RValue& a, const RValue& b, double precision) {
  if (!a.IsString()) return b.IsString() ? -1 : DS_CompareReals(a.real, b.real, precision);
  if (!b.IsString()) return 1;
  int c = a.str.compare(b.str);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

namespace {

// A strict total order that agrees with DS_Compare wherever DS_Compare is consistent: reals
// (NaN last) before strings, reals by value, strings byte-wise.
bool TotalLess(const RValue& x, const RValue& y) {
  if (x.IsString() != y.IsString()) return !x.IsString();
  if (x.IsString()) return x.str < y.str;
  bool xn = std::isnan(x.real), yn = std::isnan(y.real);
  if (xn || yn) return !xn && yn;
  return x.real < y.real;
}

bool IsNaN(const RValue& v) {
  return !v.IsString() && std::isnan(v.real);
}

// The first index in [lo, hi) where pred holds, for a predicate that is false and then true;
// hi when there is none. Bisection while the range spans more than 7 positions, then a scan.
template <class Pred>
int32_t FirstTrue(int32_t lo, int32_t hi, Pred pred) {
  int32_t found = hi;
  while (hi - lo > 7) {
    int32_t mid = lo + (hi - lo) / 2;
    if (pred(mid)) {
      found = mid;
      hi = mid;
    } else {
      lo = mid + 1;
    }
  }
  for (int32_t i = lo; i < hi; ++i)
    if (pred(i)) return i;
  return found;
}

// ---------------------------------------------------------------------------------------------
// Written forms

constexpr int32_t kStackKind = 101;
constexpr int32_t kQueueKind = 201;
constexpr int32_t kListKind = 301;
constexpr int32_t kMapKind = 401;
constexpr int32_t kPriorityKind = 501;
constexpr int32_t kGridKind = 601;

// A stored value takes at least 16 bytes (kind, real part, string length): a count that the
// remaining bytes could not hold is refused before anything is allocated.
bool CountFits(const CStream& s, int64_t count, int64_t values_per_item = 1) {
  if (count < 0) return false;
  return count <= static_cast<int64_t>(s.Remaining() / 16) / values_per_item;
}

void ReadValues(CStream& s, int32_t n, std::vector<RValue>& out) {
  out.clear();
  out.reserve(static_cast<size_t>(n));
  for (int32_t i = 0; i < n; ++i)
    out.push_back(ReadValue(s));
}

// Parses the hexadecimal string, checks the kind's number and hands the rest to body, which
// reads into temporaries and commits only when everything was read (returns false for
// contradicting counts). A read past the end is reported as corrupt.
template <class Body>
DSReadResult ReadForm(std::string_view hex, int32_t kind, Body body) {
  CStream s;
  if (!HexToStream(s, hex)) return DSReadResult::kNotHex;
  try {
    if (s.ReadInt() != kind) return DSReadResult::kWrongKind;
    return body(s) ? DSReadResult::kOk : DSReadResult::kCorrupt;
  } catch (const StreamReadError&) {
    return DSReadResult::kCorrupt;
  }
}

std::string WriteForm(int32_t kind, const std::vector<int32_t>& header,
                      const std::vector<const std::vector<RValue>*>& arrays) {
  CStream s;
  s.WriteInt(kind);
  for (int32_t h : header)
    s.WriteInt(h);
  for (const auto* a : arrays)
    for (const RValue& v : *a)
      WriteValue(s, v);
  return StreamToHex(s);
}

}  // namespace

uint32_t CDS_RandomSource::Draw(uint32_t n) {
  if (n == 0) return 0;
  uint32_t r;
  if (draw) {
    r = draw(context, n);
  } else {
    fallback_seed = fallback_seed * 134775813u + 1u;
    r = static_cast<uint32_t>((static_cast<uint64_t>(n) * fallback_seed) >> 32);
  }
  return r < n ? r : r % n;
}

// ---------------------------------------------------------------------------------------------
// Stack

RValue CDS_Stack::Pop() {
  if (items_.empty()) return RValue();
  RValue v = std::move(items_.back());
  items_.pop_back();
  return v;
}

const RValue* CDS_Stack::Top() const {
  return items_.empty() ? nullptr : &items_.back();
}

std::string CDS_Stack::Write() const {
  return WriteForm(kStackKind, {Size()}, {&items_});
}

DSReadResult CDS_Stack::Read(std::string_view hex) {
  return ReadForm(hex, kStackKind, [&](CStream& s) {
    int32_t n = s.ReadInt();
    if (!CountFits(s, n)) return false;
    std::vector<RValue> items;
    ReadValues(s, n, items);
    items_.swap(items);
    return true;
  });
}

// ---------------------------------------------------------------------------------------------
// Queue

void CDS_Queue::Clear() {
  slots_.clear();
  slots_.shrink_to_fit();
  head_ = tail_ = 0;
}

void CDS_Queue::Enqueue(const RValue& v) {
  // The capacity grows in steps of 16 slots (the vector underneath grows geometrically).
  if (static_cast<size_t>(tail_) >= slots_.size()) slots_.resize(slots_.size() + 16);
  slots_[static_cast<size_t>(tail_)] = v;
  ++tail_;
}

RValue CDS_Queue::Dequeue() {
  RValue v;
  if (tail_ > head_) {
    v = slots_[static_cast<size_t>(head_)];  // the spent slot keeps its value
    ++head_;
  }
  if (head_ > 16 && head_ > tail_ / 2) {
    // Copies, not moves: the slots past the new tail keep what they held.
    for (int32_t i = 0; i < tail_ - head_; ++i)
      slots_[static_cast<size_t>(i)] = slots_[static_cast<size_t>(head_ + i)];
    tail_ -= head_;
    head_ = 0;
  }
  return v;
}

const RValue* CDS_Queue::Head() const {
  return tail_ > head_ ? &slots_[static_cast<size_t>(head_)] : nullptr;
}

const RValue* CDS_Queue::Tail() const {
  return tail_ > head_ ? &slots_[static_cast<size_t>(tail_ - 1)] : nullptr;
}

std::string CDS_Queue::Write() const {
  return WriteForm(kQueueKind, {tail_, head_, Capacity()}, {&slots_});
}

DSReadResult CDS_Queue::Read(std::string_view hex) {
  return ReadForm(hex, kQueueKind, [&](CStream& s) {
    int32_t tail = s.ReadInt();
    int32_t head = s.ReadInt();
    int32_t n = s.ReadInt();
    if (!CountFits(s, n) || head < 0 || head > tail || tail > n) return false;
    std::vector<RValue> slots;
    ReadValues(s, n, slots);
    slots_.swap(slots);
    head_ = head;
    tail_ = tail;
    return true;
  });
}

// ---------------------------------------------------------------------------------------------
// List

bool CDS_List::Insert(int64_t pos, const RValue& v) {
  if (pos < 0 || pos > Size()) return false;
  items_.insert(items_.begin() + pos, v);
  return true;
}

bool CDS_List::Replace(int64_t pos, const RValue& v) {
  if (pos < 0 || pos >= Size()) return false;
  items_[static_cast<size_t>(pos)] = v;
  return true;
}

bool CDS_List::Delete(int64_t pos) {
  if (pos < 0 || pos >= Size()) return false;
  items_.erase(items_.begin() + pos);
  return true;
}

int32_t CDS_List::FindIndex(const RValue& v, double precision) const {
  for (size_t i = 0; i < items_.size(); ++i)
    if (DS_Compare(items_[i], v, precision) == 0) return static_cast<int32_t>(i);
  return -1;
}

const RValue* CDS_List::At(int64_t pos) const {
  return pos >= 0 && pos < Size() ? &items_[static_cast<size_t>(pos)] : nullptr;
}

namespace {

// The insertion sort that defines the order: each value moves toward the front while its left
// neighbour says "swap" (ascending: the neighbour compares greater; descending: it compares
// less or equal). Works on indices into items.
void InsertionSort(const std::vector<RValue>& items, std::vector<uint32_t>& order, bool ascending,
                   double precision) {
  for (size_t i = 1; i < order.size(); ++i) {
    for (size_t j = i; j > 0; --j) {
      int c = DS_Compare(items[order[j - 1]], items[order[j]], precision);
      if (ascending ? c <= 0 : c > 0) break;
      std::swap(order[j - 1], order[j]);
    }
  }
}

// The same insertion sort for values that are all reals, in blocks. Each value ends up right
// after the last value before it that stops it (ascending: one that compares <= it;
// descending: one that compares > it), or at the front. Whether a value stops x is monotone in
// that value, so a block whose minimum (ascending) or maximum (descending) does not stop x
// holds nothing that does, and whole blocks are skipped: O(n sqrt n) instead of O(n^2).
void BlockedInsertionSort(const std::vector<RValue>& items, std::vector<uint32_t>& order,
                          bool ascending, double precision) {
  struct Block {
    std::vector<uint32_t> ids;
    double extreme;  // the value most likely to stop: the minimum or the maximum
  };
  const size_t block_max =
      std::max<size_t>(64, 2 * static_cast<size_t>(std::sqrt(static_cast<double>(order.size()))));
  auto stops = [&](double e, double x) {
    int c = DS_CompareReals(e, x, precision);
    return ascending ? c <= 0 : c > 0;
  };
  auto more_extreme = [&](double a, double b) { return ascending ? a < b : a > b; };
  auto recompute = [&](Block& b) {
    b.extreme = items[b.ids.front()].real;
    for (uint32_t id : b.ids)
      if (more_extreme(items[id].real, b.extreme)) b.extreme = items[id].real;
  };
  std::vector<Block> blocks;
  for (uint32_t id : order) {
    const double x = items[id].real;
    size_t bi = 0, pos = 0;  // the front unless a stopper is found
    for (size_t b = blocks.size(); b-- > 0;) {
      if (!stops(blocks[b].extreme, x)) continue;
      const std::vector<uint32_t>& ids = blocks[b].ids;
      size_t j = ids.size();
      while (j > 0 && !stops(items[ids[j - 1]].real, x))
        --j;
      bi = b;
      pos = j;
      break;
    }
    if (blocks.empty()) blocks.push_back({{}, x});
    Block& block = blocks[bi];
    block.ids.insert(block.ids.begin() + static_cast<ptrdiff_t>(pos), id);
    if (more_extreme(x, block.extreme)) block.extreme = x;
    if (block.ids.size() > block_max) {
      Block tail;
      const auto half = static_cast<ptrdiff_t>(block.ids.size() / 2);
      tail.ids.assign(block.ids.begin() + half, block.ids.end());
      block.ids.erase(block.ids.begin() + half, block.ids.end());
      recompute(block);
      recompute(tail);
      blocks.insert(blocks.begin() + static_cast<ptrdiff_t>(bi) + 1, std::move(tail));
    }
  }
  order.clear();
  for (const Block& b : blocks)
    order.insert(order.end(), b.ids.begin(), b.ids.end());
}

}  // namespace

void CDS_List::Sort(bool ascending, double precision) {
  const size_t n = items_.size();
  if (n < 2) return;
  std::vector<uint32_t> order(n);
  std::iota(order.begin(), order.end(), 0u);
  if (std::any_of(items_.begin(), items_.end(), IsNaN)) {
    // NaN compares greater in both directions: only the insertion sort itself gives its result.
    InsertionSort(items_, order, ascending, precision);
  } else {
    // The insertion sort's result without its quadratic cost. Sorted exactly, the values fall
    // into clusters of neighbours that compare equal within the precision; values of different
    // clusters always compare unequal, so the insertion sort puts the clusters in order and
    // only rearranges each cluster among itself. In a cluster whose ends compare equal all
    // values compare equal: it keeps its order (ascending) or reverses it (descending). A
    // longer chain of close values (all reals) is insertion-sorted in its original order.
    std::stable_sort(order.begin(), order.end(),
                     [&](uint32_t a, uint32_t b) { return TotalLess(items_[a], items_[b]); });
    std::vector<std::pair<size_t, size_t>> clusters;
    size_t start = 0;
    for (size_t k = 1; k <= n; ++k) {
      if (k == n || DS_Compare(items_[order[k - 1]], items_[order[k]], precision) != 0) {
        clusters.emplace_back(start, k);
        start = k;
      }
    }
    if (!ascending) std::reverse(clusters.begin(), clusters.end());
    std::vector<uint32_t> result;
    result.reserve(n);
    std::vector<uint32_t> sub;
    for (auto [b, e] : clusters) {
      sub.assign(order.begin() + b, order.begin() + e);
      std::sort(sub.begin(), sub.end());  // back to their original order
      if (DS_Compare(items_[order[b]], items_[order[e - 1]], precision) == 0) {
        if (ascending)
          result.insert(result.end(), sub.begin(), sub.end());
        else
          result.insert(result.end(), sub.rbegin(), sub.rend());
      } else {
        BlockedInsertionSort(items_, sub, ascending, precision);
        result.insert(result.end(), sub.begin(), sub.end());
      }
    }
    order.swap(result);
  }
  std::vector<RValue> sorted;
  sorted.reserve(n);
  for (uint32_t i : order)
    sorted.push_back(std::move(items_[i]));
  items_.swap(sorted);
}

void CDS_List::Shuffle(CDS_RandomSource& random) {
  const uint32_t n = static_cast<uint32_t>(items_.size());
  if (n == 0) return;
  const uint64_t rounds = uint64_t{n} * 8;
  for (uint64_t k = 0; k < rounds; ++k) {
    uint32_t i = random.Draw(n);
    uint32_t j = random.Draw(n);
    std::swap(items_[i], items_[j]);
  }
}

std::string CDS_List::Write() const {
  return WriteForm(kListKind, {Size()}, {&items_});
}

DSReadResult CDS_List::Read(std::string_view hex) {
  return ReadForm(hex, kListKind, [&](CStream& s) {
    int32_t n = s.ReadInt();
    if (!CountFits(s, n)) return false;
    std::vector<RValue> items;
    ReadValues(s, n, items);
    items_.swap(items);
    return true;
  });
}

// ---------------------------------------------------------------------------------------------
// Map

void CDS_Map::Clear() {
  chunks_.clear();
  firsts_.clear();
  lasts_.clear();
  values_.clear();
  value_count_ = 0;
  free_values_.clear();
  strs_.assign(1, std::string());
  free_strs_.clear();
  count_ = 0;
}

int CDS_Map::Compare(const Key& k, const RValue& v, double precision) const {
  if (k.Kind() != RValue::kString)
    return v.IsString() ? -1 : DS_CompareReals(k.real, v.real, precision);
  if (!v.IsString()) return 1;
  int c = strs_[k.Str()].compare(v.str);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

RValue CDS_Map::KeyValue(const Key& k) const {
  RValue v;
  v.kind = k.Kind();
  v.real = k.real;
  v.str = strs_[k.Str()];
  return v;
}

CDS_Map::Key CDS_Map::NewKey(const RValue& key, const RValue& value) {
  Key k{key.real, 0, key.IsString() ? 0x80000000u : 0u};
  if (!free_values_.empty()) {
    k.slot = free_values_.back();
    free_values_.pop_back();
    ValueOf(k) = value;
  } else {
    k.slot = value_count_++;
    if (values_.empty() || values_.back().size() == kValueBlock)
      values_.emplace_back().reserve(kValueBlock);
    values_.back().push_back(value);
  }
  if (!key.str.empty()) {
    uint32_t str;
    if (!free_strs_.empty()) {
      str = free_strs_.back();
      free_strs_.pop_back();
    } else {
      str = static_cast<uint32_t>(strs_.size());
      strs_.emplace_back();
    }
    strs_[str] = key.str;
    k.str_kind |= str;
  }
  return k;
}

// The first position whose key compares >= key: bisection over the chunks' last keys, then
// over the keys of the chunk found.
CDS_Map::Pos CDS_Map::LowerBound(const RValue& key, double precision) const {
  const int32_t nc = ChunkCount();
  int32_t c = FirstTrue(0, nc, [&](int32_t i) {
    return Compare(lasts_[static_cast<size_t>(i)], key, precision) >= 0;
  });
  if (c == nc) return {nc, 0};
  const std::vector<Key>& keys = chunks_[static_cast<size_t>(c)];
  int32_t off = FirstTrue(0, static_cast<int32_t>(keys.size()), [&](int32_t i) {
    return Compare(keys[static_cast<size_t>(i)], key, precision) >= 0;
  });
  return {c, off};
}

// The last position whose key compares <= key.
CDS_Map::Pos CDS_Map::UpperBound(const RValue& key, double precision) const {
  const int32_t nc = ChunkCount();
  int32_t c = FirstTrue(0, nc,
                        [&](int32_t i) {
                          return Compare(firsts_[static_cast<size_t>(i)], key, precision) > 0;
                        }) -
              1;
  if (c < 0) return {-1, 0};
  const std::vector<Key>& keys = chunks_[static_cast<size_t>(c)];
  int32_t off = FirstTrue(0, static_cast<int32_t>(keys.size()),
                          [&](int32_t i) {
                            return Compare(keys[static_cast<size_t>(i)], key, precision) > 0;
                          }) -
                1;
  return {c, off};
}

bool CDS_Map::EqualAt(Pos p, const RValue& key, double precision) const {
  return p.chunk < ChunkCount() && Compare(KeyAt(p), key, precision) == 0;
}

void CDS_Map::ChunkChanged(int32_t c) {
  const std::vector<Key>& keys = chunks_[static_cast<size_t>(c)];
  firsts_[static_cast<size_t>(c)] = keys.front();
  lasts_[static_cast<size_t>(c)] = keys.back();
}

void CDS_Map::SplitIfFull(int32_t c) {
  std::vector<Key>& keys = chunks_[static_cast<size_t>(c)];
  if (static_cast<int32_t>(keys.size()) <= kChunkMax) {
    ChunkChanged(c);
    return;
  }
  const auto half = static_cast<ptrdiff_t>(keys.size() / 2);
  std::vector<Key> tail;
  tail.reserve(kChunkMax + 1);
  tail.assign(keys.begin() + half, keys.end());
  keys.erase(keys.begin() + half, keys.end());
  chunks_.insert(chunks_.begin() + c + 1, std::move(tail));
  firsts_.insert(firsts_.begin() + c + 1, Key());
  lasts_.insert(lasts_.begin() + c + 1, Key());
  ChunkChanged(c);
  ChunkChanged(c + 1);
}

void CDS_Map::Add(const RValue& key, const RValue& value, double precision) {
  const Key k = NewKey(key, value);
  ++count_;
  if (chunks_.empty()) {
    chunks_.emplace_back().reserve(kChunkMax + 1);
    chunks_[0].push_back(k);
    firsts_.push_back(k);
    lasts_.push_back(k);
    return;
  }
  // After every key that compares <= key, so equal keys stay in insertion order.
  Pos p = UpperBound(key, precision);
  const int32_t c = p.chunk < 0 ? 0 : p.chunk;
  const int32_t off = p.chunk < 0 ? 0 : p.off + 1;
  std::vector<Key>& keys = chunks_[static_cast<size_t>(c)];
  keys.insert(keys.begin() + off, k);
  SplitIfFull(c);
}

void CDS_Map::EraseAt(Pos p) {
  std::vector<Key>& keys = chunks_[static_cast<size_t>(p.chunk)];
  const Key gone = keys[static_cast<size_t>(p.off)];
  ValueOf(gone) = RValue();
  free_values_.push_back(gone.slot);
  if (gone.Str() != 0) {
    strs_[gone.Str()] = std::string();
    free_strs_.push_back(gone.Str());
  }
  keys.erase(keys.begin() + p.off);
  --count_;
  if (keys.empty()) {
    chunks_.erase(chunks_.begin() + p.chunk);
    firsts_.erase(firsts_.begin() + p.chunk);
    lasts_.erase(lasts_.begin() + p.chunk);
    return;
  }
  // Keep chunks from thinning out: a small chunk joins its successor when both fit in half.
  if (p.chunk + 1 < ChunkCount() && keys.size() < kChunkMax / 4) {
    std::vector<Key>& next = chunks_[static_cast<size_t>(p.chunk + 1)];
    if (keys.size() + next.size() <= kChunkMax / 2) {
      keys.insert(keys.end(), next.begin(), next.end());
      chunks_.erase(chunks_.begin() + p.chunk + 1);
      firsts_.erase(firsts_.begin() + p.chunk + 1);
      lasts_.erase(lasts_.begin() + p.chunk + 1);
    }
  }
  ChunkChanged(p.chunk);
}

bool CDS_Map::Replace(const RValue& key, const RValue& value, double precision) {
  Pos p = LowerBound(key, precision);
  if (!EqualAt(p, key, precision)) return false;
  ValueOf(KeyAt(p)) = value;
  return true;
}

bool CDS_Map::Delete(const RValue& key, double precision) {
  Pos p = LowerBound(key, precision);
  if (!EqualAt(p, key, precision)) return false;
  EraseAt(p);
  return true;
}

const RValue* CDS_Map::FindValue(const RValue& key, double precision) const {
  Pos p = LowerBound(key, precision);
  return EqualAt(p, key, precision) ? &ValueOf(KeyAt(p)) : nullptr;
}

bool CDS_Map::FindPrevious(const RValue& key, double precision, RValue& out) const {
  Pos p = LowerBound(key, precision);
  if (p.chunk >= ChunkCount()) return Last(out);  // every key compares less
  if (p.off > 0) {
    out = KeyValue(KeyAt({p.chunk, p.off - 1}));
    return true;
  }
  if (p.chunk == 0) return false;
  out = KeyValue(lasts_[static_cast<size_t>(p.chunk - 1)]);
  return true;
}

bool CDS_Map::FindNext(const RValue& key, double precision, RValue& out) const {
  Pos p = UpperBound(key, precision);
  if (p.chunk < 0) return First(out);  // no key compares <= key
  if (static_cast<size_t>(p.off) + 1 < chunks_[static_cast<size_t>(p.chunk)].size()) {
    out = KeyValue(KeyAt({p.chunk, p.off + 1}));
    return true;
  }
  if (p.chunk + 1 >= ChunkCount()) return false;
  out = KeyValue(firsts_[static_cast<size_t>(p.chunk + 1)]);
  return true;
}

bool CDS_Map::First(RValue& out) const {
  if (chunks_.empty()) return false;
  out = KeyValue(firsts_.front());
  return true;
}

bool CDS_Map::Last(RValue& out) const {
  if (chunks_.empty()) return false;
  out = KeyValue(lasts_.back());
  return true;
}

std::vector<RValue> CDS_Map::Keys() const {
  std::vector<RValue> out;
  out.reserve(static_cast<size_t>(count_));
  for (const auto& keys : chunks_)
    for (const Key& k : keys)
      out.push_back(KeyValue(k));
  return out;
}

std::vector<RValue> CDS_Map::Values() const {
  std::vector<RValue> out;
  out.reserve(static_cast<size_t>(count_));
  for (const auto& keys : chunks_)
    for (const Key& k : keys)
      out.push_back(ValueOf(k));
  return out;
}

std::string CDS_Map::Write() const {
  CStream s;
  s.WriteInt(kMapKind);
  s.WriteInt(count_);
  for (const auto& keys : chunks_) {
    for (const Key& k : keys) {
      s.WriteInt(k.Kind());
      s.WriteReal(k.real);
      s.WriteString(strs_[k.Str()]);
    }
  }
  for (const auto& keys : chunks_)
    for (const Key& k : keys)
      WriteValue(s, ValueOf(k));
  return StreamToHex(s);
}

DSReadResult CDS_Map::Read(std::string_view hex) {
  return ReadForm(hex, kMapKind, [&](CStream& s) {
    int32_t n = s.ReadInt();
    if (!CountFits(s, n, 2)) return false;
    std::vector<RValue> keys, values;
    ReadValues(s, n, keys);
    ReadValues(s, n, values);
    // The pairs stay in the order read, as the writer left them.
    CDS_Map read;
    const int32_t fill = kChunkMax / 2;
    for (int32_t i = 0; i < n; ++i) {
      if (i % fill == 0) {
        read.chunks_.emplace_back().reserve(kChunkMax + 1);
        read.firsts_.emplace_back();
        read.lasts_.emplace_back();
      }
      const RValue& key = keys[static_cast<size_t>(i)];
      read.chunks_.back().push_back(read.NewKey(key, values[static_cast<size_t>(i)]));
    }
    for (int32_t c = 0; c < read.ChunkCount(); ++c)
      read.ChunkChanged(c);
    read.count_ = n;
    *this = std::move(read);
    return true;
  });
}

// ---------------------------------------------------------------------------------------------
// Priority queue
//
// The entries stay in two unsorted parallel arrays, because the written form and the choice
// among equal priorities depend on their order: the minimum is the result of a scan from
// index 0 that moves to an entry only when it compares strictly smaller than the best so far.
// With a precision, "equal" is not transitive, so that scan is not simply "the smallest value,
// lowest index". The segment trees answer two questions in logarithmic time: the extreme of a
// prefix, and the first index in a range whose priority passes a test that is monotone in the
// priority. Scan() uses them to reproduce the scan exactly; it falls back to the plain scan
// only when the jumps do not settle quickly (priorities packed within the precision).

namespace {
constexpr int kMaxScanDepth = 32;
constexpr int kMaxChainSteps = 64;
}  // namespace

void CDS_Priority::Clear() {
  values_.clear();
  priorities_.clear();
  tree_.clear();
  leaves_ = 0;
  nan_count_ = 0;
}

CDS_Priority::Node CDS_Priority::Leaf(int32_t i) const {
  if (i >= Size()) return Node();
  const RValue& p = priorities_[static_cast<size_t>(i)];
  return Node{p.real, i, p.IsString() ? RValue::kString : RValue::kReal};
}

// Reals (NaN last) before strings; reals by value, strings byte-wise. Agrees with DS_Compare
// wherever that is consistent.
bool CDS_Priority::NodeLess(const Node& a, const Node& b) const {
  if (a.kind != b.kind) return a.kind != RValue::kString;
  if (a.kind == RValue::kString)
    return priorities_[static_cast<size_t>(a.idx)].str <
           priorities_[static_cast<size_t>(b.idx)].str;
  const bool an = std::isnan(a.real), bn = std::isnan(b.real);
  if (an || bn) return !an && bn;
  return a.real < b.real;
}

int CDS_Priority::CompareNodes(const Node& a, const Node& b, double precision) const {
  if (a.kind != RValue::kString)
    return b.kind == RValue::kString ? -1 : DS_CompareReals(a.real, b.real, precision);
  if (b.kind != RValue::kString) return 1;
  int c = priorities_[static_cast<size_t>(a.idx)].str.compare(
      priorities_[static_cast<size_t>(b.idx)].str);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

namespace {
template <bool kMin, class Less>
inline const auto& PickNode(const auto& l, const auto& r, Less less) {
  if (l.idx < 0) return r;
  if (r.idx < 0) return l;
  // Ties keep the left (lower) range.
  return (kMin ? less(r, l) : less(l, r)) ? r : l;
}
}  // namespace

void CDS_Priority::Combine(size_t node) {
  auto less = [this](const Node& a, const Node& b) { return NodeLess(a, b); };
  const NodePair& l = tree_[2 * node];
  const NodePair& r = tree_[2 * node + 1];
  tree_[node].min = PickNode<true>(l.min, r.min, less);
  tree_[node].max = PickNode<false>(l.max, r.max, less);
}

void CDS_Priority::Rebuild() {
  const auto n = static_cast<uint32_t>(values_.size());
  leaves_ = static_cast<int32_t>(std::bit_ceil(std::max(n, 1u)));
  tree_.assign(static_cast<size_t>(leaves_) * 2, NodePair());
  for (uint32_t i = 0; i < n; ++i) {
    NodePair& leaf = tree_[static_cast<size_t>(leaves_) + i];
    leaf.min = leaf.max = Leaf(static_cast<int32_t>(i));
  }
  for (size_t node = static_cast<size_t>(leaves_) - 1; node >= 1; --node)
    Combine(node);
}

void CDS_Priority::UpdateLeaf(int32_t i) {
  size_t node = static_cast<size_t>(leaves_) + static_cast<size_t>(i);
  tree_[node].min = tree_[node].max = Leaf(i);
  for (node /= 2; node >= 1; node /= 2)
    Combine(node);
}

void CDS_Priority::Add(const RValue& value, const RValue& priority) {
  values_.push_back(value);
  priorities_.push_back(priority);
  if (IsNaN(priority)) ++nan_count_;
  if (Size() > leaves_)
    Rebuild();
  else
    UpdateLeaf(Size() - 1);
}

void CDS_Priority::SetPriority(int32_t i, const RValue& priority) {
  if (IsNaN(priorities_[static_cast<size_t>(i)])) --nan_count_;
  if (IsNaN(priority)) ++nan_count_;
  priorities_[static_cast<size_t>(i)] = priority;
  UpdateLeaf(i);
}

void CDS_Priority::RemoveAt(int32_t i) {
  const int32_t last = Size() - 1;
  if (IsNaN(priorities_[static_cast<size_t>(i)])) --nan_count_;
  if (i != last) {
    values_[static_cast<size_t>(i)] = std::move(values_[static_cast<size_t>(last)]);
    priorities_[static_cast<size_t>(i)] = std::move(priorities_[static_cast<size_t>(last)]);
  }
  values_.pop_back();
  priorities_.pop_back();
  UpdateLeaf(last);
  if (i != last) UpdateLeaf(i);
}

RValue CDS_Priority::TakeAt(int32_t i) {
  RValue v = std::move(values_[static_cast<size_t>(i)]);
  RemoveAt(i);
  return v;
}

int32_t CDS_Priority::FindValueIndex(const RValue& value, double precision) const {
  for (size_t i = 0; i < values_.size(); ++i)
    if (DS_Compare(values_[i], value, precision) == 0) return static_cast<int32_t>(i);
  return -1;
}

bool CDS_Priority::ChangePriority(const RValue& value, const RValue& priority, double precision) {
  int32_t i = FindValueIndex(value, precision);
  if (i < 0) return false;
  SetPriority(i, priority);
  return true;
}

const RValue* CDS_Priority::FindPriority(const RValue& value, double precision) const {
  int32_t i = FindValueIndex(value, precision);
  return i < 0 ? nullptr : &priorities_[static_cast<size_t>(i)];
}

bool CDS_Priority::DeleteValue(const RValue& value, double precision) {
  int32_t i = FindValueIndex(value, precision);
  if (i < 0) return false;
  RemoveAt(i);
  return true;
}

// The extreme node among entries [from, to).
template <bool kMin>
CDS_Priority::Node CDS_Priority::Extreme(int32_t from, int32_t to) const {
  if (from == 0 && to == Size()) return At<kMin>(1);
  auto less = [this](const Node& a, const Node& b) { return NodeLess(a, b); };
  Node best;
  size_t l = static_cast<size_t>(from + leaves_), r = static_cast<size_t>(to + leaves_);
  for (; l < r; l >>= 1, r >>= 1) {
    if (l & 1) best = PickNode<kMin>(best, At<kMin>(l++), less);
    if (r & 1) best = PickNode<kMin>(best, At<kMin>(--r), less);
  }
  return best;
}

// The first index in [from, to) whose priority passes pred. pred must be monotone in the
// total order: true up to some point (min tree) or from some point on (max tree), so a node
// whose extreme fails holds no passing entry.
template <bool kMin, class Pred>
int32_t CDS_Priority::FindFirst(int32_t from, int32_t to, Pred pred) const {
  struct Frame {
    size_t node;
    int32_t lo, hi;
  };
  // Depth-first, left child first: at most one pending right sibling per level.
  Frame stack[80];
  int top = 0;
  stack[top++] = {1, 0, leaves_};
  while (top > 0) {
    Frame f = stack[--top];
    if (f.hi <= from || f.lo >= to) continue;
    const Node& n = At<kMin>(f.node);
    if (n.idx < 0 || !pred(n)) continue;
    if (f.hi - f.lo == 1) return f.lo;
    int32_t mid = f.lo + (f.hi - f.lo) / 2;
    stack[top++] = {2 * f.node + 1, mid, f.hi};
    stack[top++] = {2 * f.node, f.lo, mid};
  }
  return -1;
}

template <bool kMin>
int32_t CDS_Priority::LinearScan(int32_t end, double precision) const {
  int32_t best = 0;
  for (int32_t i = 1; i < end; ++i) {
    int c = DS_Compare(priorities_[static_cast<size_t>(i)], priorities_[static_cast<size_t>(best)],
                       precision);
    if (kMin ? c < 0 : c > 0) best = i;
  }
  return best;
}

// The result of the scan over entries [0, end).
template <bool kMin>
int32_t CDS_Priority::Scan(int32_t end, int depth, double precision) const {
  if (depth > kMaxScanDepth) return LinearScan<kMin>(end, precision);
  auto better = [&](const Node& x, const Node& than) {
    int c = CompareNodes(x, than, precision);
    return kMin ? c < 0 : c > 0;
  };

  // The scan ends at or next to the extreme value m. s1, the first entry that compares equal
  // to m or beyond it, takes over unless the best of the entries before it is within reach.
  const Node m = Extreme<kMin>(0, end);
  int32_t s1 = FindFirst<kMin>(0, end, [&](const Node& x) {
    int c = CompareNodes(x, m, precision);
    return kMin ? c <= 0 : c >= 0;
  });
  int32_t best = s1;
  if (s1 > 0) {
    const Node s1n = Leaf(s1);
    // When s1 holds the extreme itself, every earlier entry compares beyond it and s1 beats
    // whatever they chose. Otherwise: beating the extreme of the prefix means beating the
    // prefix's choice; failing that, the prefix's choice is needed.
    const bool is_extreme = !NodeLess(s1n, m) && !NodeLess(m, s1n);
    if (!is_extreme && !better(s1n, Extreme<kMin>(0, s1))) {
      int32_t q = Scan<kMin>(s1, depth + 1, precision);
      if (!better(s1n, Leaf(q))) best = q;
    }
  }
  // Follow the scan from there: each step is the next entry that beats the current best.
  for (int steps = 0;; ++steps) {
    const Node b = Leaf(best);
    if (!better(m, b)) return best;  // not even the extreme beats it
    if (steps > kMaxChainSteps) return LinearScan<kMin>(end, precision);
    int32_t next = FindFirst<kMin>(best + 1, end, [&](const Node& x) { return better(x, b); });
    if (next < 0) return best;
    best = next;
  }
}

int32_t CDS_Priority::MinIndex(double precision) const {
  if (values_.empty()) return -1;
  if (nan_count_ > 0) return LinearScan<true>(Size(), precision);
  return Scan<true>(Size(), 0, precision);
}

int32_t CDS_Priority::MaxIndex(double precision) const {
  if (values_.empty()) return -1;
  if (nan_count_ > 0) return LinearScan<false>(Size(), precision);
  return Scan<false>(Size(), 0, precision);
}

std::string CDS_Priority::Write() const {
  return WriteForm(kPriorityKind, {Size()}, {&priorities_, &values_});
}

DSReadResult CDS_Priority::Read(std::string_view hex) {
  return ReadForm(hex, kPriorityKind, [&](CStream& s) {
    int32_t n = s.ReadInt();
    if (!CountFits(s, n, 2)) return false;
    CDS_Priority read;
    ReadValues(s, n, read.priorities_);
    ReadValues(s, n, read.values_);
    read.nan_count_ = static_cast<int32_t>(
        std::count_if(read.priorities_.begin(), read.priorities_.end(), IsNaN));
    read.Rebuild();
    *this = std::move(read);
    return true;
  });
}

// ---------------------------------------------------------------------------------------------
// Grid

const std::string& CDS_Grid::StrOf(const Cell& c) const {
  return pool_[c.str];
}

RValue CDS_Grid::ValueOf(const Cell& c) const {
  RValue v;
  v.kind = c.kind;
  v.real = c.real;
  v.str = pool_[c.str];
  return v;
}

void CDS_Grid::ReleaseStr(Cell& c) {
  if (c.str == 0) return;
  pool_[c.str].clear();
  pool_[c.str].shrink_to_fit();
  free_.push_back(c.str);
  c.str = 0;
}

void CDS_Grid::SetStr(Cell& c, std::string_view s) {
  if (s.empty()) {
    ReleaseStr(c);
    return;
  }
  if (c.str == 0) {
    if (!free_.empty()) {
      c.str = free_.back();
      free_.pop_back();
    } else {
      c.str = static_cast<uint32_t>(pool_.size());
      pool_.emplace_back();
    }
  }
  pool_[c.str].assign(s.data(), s.size());
}

void CDS_Grid::Assign(Cell& c, const RValue& v) {
  c.kind = v.IsString() ? RValue::kString : RValue::kReal;
  c.real = v.real;
  SetStr(c, v.str);
}

// set takes the value's kind and only the part of that kind; add and multiply fall back as the
// language's operators do.
void CDS_Grid::Apply(Op op, Cell& c, const RValue& v) {
  const bool cell_string = c.kind == RValue::kString;
  switch (op) {
    case Op::kAdd:
      if (!cell_string && !v.IsString()) {
        c.real += v.real;
        return;
      }
      if (cell_string && v.IsString()) {
        if (c.str == 0)
          SetStr(c, v.str);
        else
          pool_[c.str] += v.str;
        return;
      }
      break;
    case Op::kMultiply:
      if (!cell_string && !v.IsString()) c.real *= v.real;
      return;
    case Op::kSet:
      break;
  }
  if (v.IsString()) {
    c.kind = RValue::kString;
    SetStr(c, v.str);
  } else {
    c.kind = RValue::kReal;
    c.real = v.real;
  }
}

bool CDS_Grid::Resize(int64_t w, int64_t h) {
  w = std::max<int64_t>(w, 0);
  h = std::max<int64_t>(h, 0);
  if (w > kMaxCells || h > kMaxCells || (h > 0 && w > kMaxCells / h)) return false;
  std::vector<Cell> cells(static_cast<size_t>(w * h));
  for (int32_t x = 0; x < width_; ++x) {
    for (int32_t y = 0; y < height_; ++y) {
      Cell& c = At(x, y);
      if (x < w && y < h)
        cells[static_cast<size_t>(x * h + y)] = c;
      else
        ReleaseStr(c);
    }
  }
  cells_.swap(cells);
  width_ = static_cast<int32_t>(w);
  height_ = static_cast<int32_t>(h);
  return true;
}

void CDS_Grid::ClearTo(const RValue& v) {
  pool_.assign(1, std::string());
  free_.clear();
  for (Cell& c : cells_) {
    c = Cell();
    Assign(c, v);
  }
}

RValue CDS_Grid::Get(int64_t x, int64_t y) const {
  if (!Inside(x, y)) return RValue();
  return ValueOf(At(static_cast<int32_t>(x), static_cast<int32_t>(y)));
}

void CDS_Grid::Modify(Op op, int64_t x, int64_t y, const RValue& v) {
  if (Inside(x, y)) Apply(op, At(static_cast<int32_t>(x), static_cast<int32_t>(y)), v);
}

CDS_Grid::Range CDS_Grid::Clamp(int64_t a, int64_t b, int32_t size) {
  int64_t lo = std::max<int64_t>(0, std::min(a, b));
  int64_t hi = std::min<int64_t>(int64_t{size} - 1, std::max(a, b));
  if (lo > hi) return {0, -1};
  return {static_cast<int32_t>(lo), static_cast<int32_t>(hi)};
}

// floor(m - r) .. ceil(m + r) inside 0 .. size - 1; the centre and radius are not rounded.
CDS_Grid::Range CDS_Grid::DiskRange(double m, double r, int32_t size) const {
  double lo = std::floor(m - r), hi = std::ceil(m + r);
  lo = std::max(lo, 0.0);
  hi = std::min(hi, static_cast<double>(size) - 1.0);
  if (!(lo <= hi)) return {0, -1};  // empty, or not a number
  return {static_cast<int32_t>(lo), static_cast<int32_t>(hi)};
}

template <class F>
void CDS_Grid::ForDisk(double xm, double ym, double r, F f) const {
  Range xr = DiskRange(xm, r, width_), yr = DiskRange(ym, r, height_);
  if (xr.lo > xr.hi || yr.lo > yr.hi) return;
  const double r2 = r * r;
  for (int32_t x = xr.lo; x <= xr.hi; ++x) {
    const double dx = x - xm;
    for (int32_t y = yr.lo; y <= yr.hi; ++y) {
      const double dy = y - ym;
      if (dx * dx + dy * dy <= r2 && !f(x, y)) return;
    }
  }
}

void CDS_Grid::ModifyRegion(Op op, int64_t x1, int64_t y1, int64_t x2, int64_t y2,
                            const RValue& v) {
  Range xr = Clamp(x1, x2, width_), yr = Clamp(y1, y2, height_);
  if (yr.lo > yr.hi) return;
  for (int32_t x = xr.lo; x <= xr.hi; ++x)
    for (int32_t y = yr.lo; y <= yr.hi; ++y)
      Apply(op, At(x, y), v);
}

void CDS_Grid::ModifyDisk(Op op, double xm, double ym, double r, const RValue& v) {
  ForDisk(xm, ym, r, [&](int32_t x, int32_t y) {
    Apply(op, At(x, y), v);
    return true;
  });
}

void CDS_Grid::ModifyFromGrid(Op op, const CDS_Grid& source, int64_t x1, int64_t y1, int64_t x2,
                              int64_t y2, int64_t xpos, int64_t ypos) {
  Range sx = Clamp(x1, x2, source.width_), sy = Clamp(y1, y2, source.height_);
  int64_t left = sx.lo, right = sx.hi, top = sy.lo, bottom = sy.hi;
  if (xpos < 0) {
    left -= xpos;
    xpos = 0;
  }
  if (ypos < 0) {
    top -= ypos;
    ypos = 0;
  }
  // Only source cells whose target lies inside this grid.
  right = std::min(right, left + (int64_t{width_} - 1 - xpos));
  bottom = std::min(bottom, top + (int64_t{height_} - 1 - ypos));
  if (left > right || top > bottom) return;
  const int64_t dx = xpos - left, dy = ypos - top;
  // Reading each source cell before it is overwritten when source and target are one grid.
  const bool cols_backward = left < xpos, rows_backward = top < ypos;
  for (int64_t i = 0; i <= right - left; ++i) {
    const int64_t x = cols_backward ? right - i : left + i;
    for (int64_t j = 0; j <= bottom - top; ++j) {
      const int64_t y = rows_backward ? bottom - j : top + j;
      const Cell& from = source.At(static_cast<int32_t>(x), static_cast<int32_t>(y));
      Cell& to = At(static_cast<int32_t>(x + dx), static_cast<int32_t>(y + dy));
      if (from.str == 0) {
        // A value without a string part needs no copy of its text.
        RValue v(from.real);
        v.kind = from.kind;
        Apply(op, to, v);
      } else {
        Apply(op, to, source.ValueOf(from));
      }
    }
  }
}

CDS_Grid::Stats CDS_Grid::RegionStats(int64_t x1, int64_t y1, int64_t x2, int64_t y2) const {
  Range xr = Clamp(x1, x2, width_), yr = Clamp(y1, y2, height_);
  Stats st;
  if (xr.lo > xr.hi || yr.lo > yr.hi) return st;
  double sum = 0.0, mx = 0.0, mn = 0.0;
  int64_t n = 0;
  for (int32_t x = xr.lo; x <= xr.hi; ++x) {
    const Cell* col = &At(x, 0);
    for (int32_t y = yr.lo; y <= yr.hi; ++y) {
      const Cell& c = col[y];
      if (c.kind != RValue::kReal) continue;
      sum += c.real;
      if (n == 0 || c.real > mx) mx = c.real;
      if (n == 0 || c.real < mn) mn = c.real;
      ++n;
    }
  }
  if (n > 0) {
    st.sum = sum;
    st.max = mx;
    st.min = mn;
    st.mean = sum / static_cast<double>(n);
  }
  return st;
}

CDS_Grid::Stats CDS_Grid::DiskStats(double xm, double ym, double r) const {
  Stats st;
  double sum = 0.0, mx = 0.0, mn = 0.0;
  int64_t n = 0;
  ForDisk(xm, ym, r, [&](int32_t x, int32_t y) {
    const Cell& c = At(x, y);
    if (c.kind != RValue::kReal) return true;
    sum += c.real;
    if (n == 0 || c.real > mx) mx = c.real;
    if (n == 0 || c.real < mn) mn = c.real;
    ++n;
    return true;
  });
  if (n > 0) {
    st.sum = sum;
    st.max = mx;
    st.min = mn;
    st.mean = sum / static_cast<double>(n);
  }
  return st;
}

namespace {
int CompareCell(double real, int32_t kind, const std::string& str, const RValue& v,
                double precision) {
  if (kind != RValue::kString) return v.IsString() ? -1 : DS_CompareReals(real, v.real, precision);
  if (!v.IsString()) return 1;
  int c = str.compare(v.str);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}
}  // namespace

bool CDS_Grid::FindInRegion(int64_t x1, int64_t y1, int64_t x2, int64_t y2, const RValue& v,
                            double precision, int32_t& fx, int32_t& fy) const {
  Range xr = Clamp(x1, x2, width_), yr = Clamp(y1, y2, height_);
  if (yr.lo > yr.hi) return false;
  for (int32_t x = xr.lo; x <= xr.hi; ++x) {
    for (int32_t y = yr.lo; y <= yr.hi; ++y) {
      const Cell& c = At(x, y);
      if (CompareCell(c.real, c.kind, StrOf(c), v, precision) == 0) {
        fx = x;
        fy = y;
        return true;
      }
    }
  }
  return false;
}

bool CDS_Grid::FindInDisk(double xm, double ym, double r, const RValue& v, double precision,
                          int32_t& fx, int32_t& fy) const {
  bool found = false;
  ForDisk(xm, ym, r, [&](int32_t x, int32_t y) {
    const Cell& c = At(x, y);
    if (CompareCell(c.real, c.kind, StrOf(c), v, precision) != 0) return true;
    fx = x;
    fy = y;
    found = true;
    return false;
  });
  return found;
}

void CDS_Grid::Shuffle(CDS_RandomSource& random) {
  if (width_ == 0 || height_ == 0) return;
  const auto w = static_cast<uint32_t>(width_), h = static_cast<uint32_t>(height_);
  const uint64_t rounds = uint64_t{w} * h * 8;
  for (uint64_t k = 0; k < rounds; ++k) {
    const auto x1 = static_cast<int32_t>(random.Draw(w));
    const auto y1 = static_cast<int32_t>(random.Draw(h));
    const auto x2 = static_cast<int32_t>(random.Draw(w));
    const auto y2 = static_cast<int32_t>(random.Draw(h));
    std::swap(At(x1, y1), At(x2, y2));
  }
}

std::string CDS_Grid::Write() const {
  CStream s;
  s.WriteInt(kGridKind);
  s.WriteInt(width_);
  s.WriteInt(height_);
  for (const Cell& c : cells_) {  // column by column: x outer, y inner
    s.WriteInt(c.kind);
    s.WriteReal(c.real);
    s.WriteString(StrOf(c));
  }
  return StreamToHex(s);
}

DSReadResult CDS_Grid::Read(std::string_view hex) {
  return ReadForm(hex, kGridKind, [&](CStream& s) {
    int32_t w = s.ReadInt();
    int32_t h = s.ReadInt();
    if (w < 0 || h < 0) return false;
    const int64_t cells = int64_t{w} * h;
    if (cells > kMaxCells || !CountFits(s, cells)) return false;
    CDS_Grid read;
    read.width_ = w;
    read.height_ = h;
    read.cells_.resize(static_cast<size_t>(cells));
    for (Cell& c : read.cells_) {
      c.kind = s.ReadInt() == RValue::kString ? RValue::kString : RValue::kReal;
      c.real = s.ReadReal();
      read.SetStr(c, s.ReadString());
    }
    *this = std::move(read);
    return true;
  });
}

}  // namespace zorvex
