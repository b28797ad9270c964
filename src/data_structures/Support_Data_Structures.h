// Containers for game code: stacks, queues, lists, maps, priority queues and grids, the
// comparison rule they share, their id tables and their written (hexadecimal) forms.
//
// What game code can observe is kept exactly: the order of map keys (equal keys in insertion
// order), which of several equal priorities wins, the slots of a queue and the byte content
// of every written form. Behind that, maps are chunked sorted arrays and priority queues keep
// a segment tree over their entry positions, so lookups and delete-min stay logarithmic.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "code/RValue.h"

namespace zorvex {

class CStream;

constexpr double kDefaultDSPrecision = 0.00000001;

// compare(a, b): negative, 0 or positive. Reals are equal within the precision (a precision of
// exactly 0 means a relative tolerance of 1e-12, at least 1e-12), strings compare byte-wise and
// a real is smaller than any string.
int DS_Compare(const RValue& a, const RValue& b, double precision);
int DS_CompareReals(double a, double b, double precision);

// The outcome of reading a written form. Every outcome but kOk leaves the structure unchanged.
enum class DSReadResult {
  kOk,
  kWrongKind,  // the first number is not the kind's number (silently refused)
  kNotHex,     // a pair of characters is not a hexadecimal byte
  kCorrupt,    // the record is cut short or its counts contradict each other
};

// The game's random generator as the shuffles see it: a uniform integer draw in 0 .. n-1 that
// advances the shared sequence. The game wires `draw` to its generator; until it does, a
// private generator with the same recurrence (seed * 134775813 + 1) is used.
struct CDS_RandomSource {
  using DrawFn = uint32_t (*)(void* context, uint32_t n);
  DrawFn draw = nullptr;
  void* context = nullptr;
  uint32_t fallback_seed = 0;

  uint32_t Draw(uint32_t n);
};

class CDS_Stack {
 public:
  int32_t Size() const { return static_cast<int32_t>(items_.size()); }
  void Clear() { items_.clear(); }
  void Push(const RValue& v) { items_.push_back(v); }
  RValue Pop();               // real 0 when empty
  const RValue* Top() const;  // null when empty
  std::string Write() const;
  DSReadResult Read(std::string_view hex);
  const std::vector<RValue>& Items() const { return items_; }  // bottom first

 private:
  std::vector<RValue> items_;
};

class CDS_Queue {
 public:
  int32_t Size() const { return tail_ - head_; }
  int32_t HeadIndex() const { return head_; }
  int32_t TailIndex() const { return tail_; }
  int32_t Capacity() const { return static_cast<int32_t>(slots_.size()); }
  const std::vector<RValue>& Slots() const { return slots_; }
  void Clear();
  void Enqueue(const RValue& v);
  RValue Dequeue();  // real 0 when empty
  const RValue* Head() const;
  const RValue* Tail() const;
  std::string Write() const;
  DSReadResult Read(std::string_view hex);

 private:
  // Spent slots before head and the unfilled slots after tail keep whatever they held: the
  // written form contains every slot.
  std::vector<RValue> slots_;
  int32_t head_ = 0;
  int32_t tail_ = 0;
};

class CDS_List {
 public:
  int32_t Size() const { return static_cast<int32_t>(items_.size()); }
  void Clear() { items_.clear(); }
  void Add(const RValue& v) { items_.push_back(v); }
  bool Insert(int64_t pos, const RValue& v);
  bool Replace(int64_t pos, const RValue& v);
  bool Delete(int64_t pos);
  int32_t FindIndex(const RValue& v, double precision) const;
  const RValue* At(int64_t pos) const;
  void Sort(bool ascending, double precision);
  void Shuffle(CDS_RandomSource& random);
  std::string Write() const;
  DSReadResult Read(std::string_view hex);
  const std::vector<RValue>& Items() const { return items_; }

 private:
  std::vector<RValue> items_;
};

class CDS_Map {
 public:
  int32_t Size() const { return count_; }
  void Clear();
  void Add(const RValue& key, const RValue& value, double precision);
  bool Replace(const RValue& key, const RValue& value, double precision);
  bool Delete(const RValue& key, double precision);
  const RValue* FindValue(const RValue& key, double precision) const;  // first equal key
  // The neighbouring keys and the ends; false when there is none.
  bool FindPrevious(const RValue& key, double precision, RValue& out) const;
  bool FindNext(const RValue& key, double precision, RValue& out) const;
  bool First(RValue& out) const;
  bool Last(RValue& out) const;
  std::string Write() const;
  DSReadResult Read(std::string_view hex);
  // Keys and values in order, for inspection.
  std::vector<RValue> Keys() const;
  std::vector<RValue> Values() const;

 private:
  // A key as kept in order: the real part inline, the kind in the top bit of str_kind and the
  // string part as an index into strs_ (0: empty). Trivially copyable, so shifting keys inside
  // a chunk is a plain memory move. slot is the pair's value in values_.
  struct Key {
    double real;
    uint32_t slot;
    uint32_t str_kind;
    int32_t Kind() const { return static_cast<int32_t>(str_kind >> 31); }
    uint32_t Str() const { return str_kind & 0x7FFFFFFFu; }
  };
  struct Pos {
    int32_t chunk;
    int32_t off;
  };
  static constexpr int32_t kChunkMax = 256;
  static constexpr uint32_t kValueBlock = 4096;

  int Compare(const Key& k, const RValue& v, double precision) const;
  RValue KeyValue(const Key& k) const;
  Pos LowerBound(const RValue& key, double precision) const;  // chunk == count: past the end
  Pos UpperBound(const RValue& key, double precision) const;  // chunk == -1: before the start
  bool EqualAt(Pos p, const RValue& key, double precision) const;
  const Key& KeyAt(Pos p) const {
    return chunks_[static_cast<size_t>(p.chunk)][static_cast<size_t>(p.off)];
  }
  Key NewKey(const RValue& key, const RValue& value);
  RValue& ValueOf(const Key& k) { return values_[k.slot / kValueBlock][k.slot % kValueBlock]; }
  const RValue& ValueOf(const Key& k) const {
    return values_[k.slot / kValueBlock][k.slot % kValueBlock];
  }
  void EraseAt(Pos p);
  void ChunkChanged(int32_t c);
  void SplitIfFull(int32_t c);
  int32_t ChunkCount() const { return static_cast<int32_t>(chunks_.size()); }

  // Keys in ascending order (equal keys in insertion order) in chunks of at most kChunkMax;
  // a chunk is never empty. firsts_ and lasts_ hold each chunk's end keys side by side, so the
  // bisection over chunks stays in one small array.
  std::vector<std::vector<Key>> chunks_;
  std::vector<Key> firsts_;
  std::vector<Key> lasts_;
  // Values in blocks that never move, so adding pairs never copies the values already held.
  std::vector<std::vector<RValue>> values_;
  uint32_t value_count_ = 0;
  std::vector<uint32_t> free_values_;
  std::vector<std::string> strs_ = std::vector<std::string>(1);
  std::vector<uint32_t> free_strs_;
  int32_t count_ = 0;
};

class CDS_Priority {
 public:
  int32_t Size() const { return static_cast<int32_t>(values_.size()); }
  void Clear();
  void Add(const RValue& value, const RValue& priority);
  bool ChangePriority(const RValue& value, const RValue& priority, double precision);
  const RValue* FindPriority(const RValue& value, double precision) const;
  bool DeleteValue(const RValue& value, double precision);
  // The entry index of the minimum or maximum priority, -1 when empty.
  int32_t MinIndex(double precision) const;
  int32_t MaxIndex(double precision) const;
  const RValue& ValueAt(int32_t i) const { return values_[static_cast<size_t>(i)]; }
  const RValue& PriorityAt(int32_t i) const { return priorities_[static_cast<size_t>(i)]; }
  RValue TakeAt(int32_t i);  // removes entry i; the last entry moves into its place
  std::string Write() const;
  DSReadResult Read(std::string_view hex);

 private:
  // A tree node: the extreme priority of its range, its kind and real part copied in so that
  // walking the tree does not touch the entries (a string is looked up through idx).
  struct Node {
    double real = 0.0;
    int32_t idx = -1;  // -1: no entry in this range
    int32_t kind = RValue::kReal;
  };

  int32_t FindValueIndex(const RValue& value, double precision) const;
  void SetPriority(int32_t i, const RValue& priority);
  void RemoveAt(int32_t i);
  void Rebuild();
  void UpdateLeaf(int32_t i);
  Node Leaf(int32_t i) const;
  bool NodeLess(const Node& a, const Node& b) const;  // a total order of priorities
  int CompareNodes(const Node& a, const Node& b, double precision) const;
  template <bool kMin>
  Node Extreme(int32_t from, int32_t to) const;
  template <bool kMin, class Pred>
  int32_t FindFirst(int32_t from, int32_t to, Pred pred) const;
  template <bool kMin>
  int32_t Scan(int32_t end, int depth, double precision) const;
  template <bool kMin>
  int32_t LinearScan(int32_t end, double precision) const;

  // Parallel arrays in entry order; the written form shows this order.
  std::vector<RValue> values_;
  std::vector<RValue> priorities_;
  // Segment tree over entry positions with the smallest and the largest priority of each
  // node side by side (one cache line holds both children of a node); node 1 is the root,
  // leaf i is node leaves_ + i, leaves_ is a power of two.
  struct NodePair {
    Node min, max;
  };
  template <bool kMin>
  const Node& At(size_t node) const {
    return kMin ? tree_[node].min : tree_[node].max;
  }
  void Combine(size_t node);
  std::vector<NodePair> tree_;
  int32_t leaves_ = 0;
  int32_t nan_count_ = 0;  // NaN priorities defeat the ordered search: scan linearly then
};

class CDS_Grid {
 public:
  enum class Op { kSet, kAdd, kMultiply };

  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  // Negative sizes count as 0. False (nothing changed) when the grid would be too large.
  bool Resize(int64_t w, int64_t h);
  void ClearTo(const RValue& v);
  bool Inside(int64_t x, int64_t y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
  RValue Get(int64_t x, int64_t y) const;  // real 0 outside
  void Modify(Op op, int64_t x, int64_t y, const RValue& v);
  void ModifyRegion(Op op, int64_t x1, int64_t y1, int64_t x2, int64_t y2, const RValue& v);
  void ModifyDisk(Op op, double xm, double ym, double r, const RValue& v);
  // The rectangle of source modifies this grid from (xpos, ypos); source may be this grid.
  void ModifyFromGrid(Op op, const CDS_Grid& source, int64_t x1, int64_t y1, int64_t x2, int64_t y2,
                      int64_t xpos, int64_t ypos);

  struct Stats {
    double sum = 0.0;
    double max = -100000000.0;
    double min = 100000000.0;
    double mean = 0.0;
  };
  Stats RegionStats(int64_t x1, int64_t y1, int64_t x2, int64_t y2) const;
  Stats DiskStats(double xm, double ym, double r) const;
  // The first cell comparing equal to v (x ascending, then y); false when none.
  bool FindInRegion(int64_t x1, int64_t y1, int64_t x2, int64_t y2, const RValue& v,
                    double precision, int32_t& fx, int32_t& fy) const;
  bool FindInDisk(double xm, double ym, double r, const RValue& v, double precision, int32_t& fx,
                  int32_t& fy) const;
  void Shuffle(CDS_RandomSource& random);
  std::string Write() const;
  DSReadResult Read(std::string_view hex);

  static constexpr int64_t kMaxCells = int64_t{1} << 27;

 private:
  // A cell keeps both parts of its value: setting a real keeps the string part and the other
  // way round, and the written form shows both. Strings live in a pool; 0 is the empty string.
  struct Cell {
    double real = 0.0;
    int32_t kind = RValue::kReal;
    uint32_t str = 0;
  };
  struct Range {
    int32_t lo, hi;  // inclusive; empty when lo > hi
  };

  Cell& At(int32_t x, int32_t y) {
    return cells_[static_cast<size_t>(x) * static_cast<size_t>(height_) + static_cast<size_t>(y)];
  }
  const Cell& At(int32_t x, int32_t y) const {
    return cells_[static_cast<size_t>(x) * static_cast<size_t>(height_) + static_cast<size_t>(y)];
  }
  const std::string& StrOf(const Cell& c) const;
  RValue ValueOf(const Cell& c) const;
  void SetStr(Cell& c, std::string_view s);
  void ReleaseStr(Cell& c);
  void Apply(Op op, Cell& c, const RValue& v);
  void Assign(Cell& c, const RValue& v);
  static Range Clamp(int64_t a, int64_t b, int32_t size);
  Range DiskRange(double m, double r, int32_t size) const;
  template <class F>
  void ForDisk(double xm, double ym, double r, F f) const;

  int32_t width_ = 0;
  int32_t height_ = 0;
  std::vector<Cell> cells_;  // column by column: cell (x, y) at x * height + y
  std::vector<std::string> pool_ = std::vector<std::string>(1);
  std::vector<uint32_t> free_;
};

// The table of one kind: ids are slot indices; a new structure takes the lowest empty slot.
template <class T>
class CDS_Table {
 public:
  int32_t Create(std::unique_ptr<T> s) {
    while (first_free_ < slots_.size() && slots_[first_free_])
      ++first_free_;
    if (first_free_ == slots_.size()) slots_.emplace_back();
    slots_[first_free_] = std::move(s);
    return static_cast<int32_t>(first_free_++);
  }
  T* Get(int64_t id) const {
    if (id < 0 || static_cast<uint64_t>(id) >= slots_.size()) return nullptr;
    return slots_[static_cast<size_t>(id)].get();
  }
  bool Destroy(int64_t id) {
    if (!Get(id)) return false;
    slots_[static_cast<size_t>(id)].reset();
    if (static_cast<size_t>(id) < first_free_) first_free_ = static_cast<size_t>(id);
    return true;
  }
  void Clear() {
    slots_.clear();
    first_free_ = 0;
  }
  size_t SlotCount() const { return slots_.size(); }

 private:
  std::vector<std::unique_ptr<T>> slots_;
  size_t first_free_ = 0;  // no empty slot below this index
};

// All data-structure state of one game.
struct CDataStructures {
  double precision = kDefaultDSPrecision;
  CDS_RandomSource random;
  CDS_Table<CDS_Stack> stacks;
  CDS_Table<CDS_Queue> queues;
  CDS_Table<CDS_List> lists;
  CDS_Table<CDS_Map> maps;
  CDS_Table<CDS_Priority> priorities;
  CDS_Table<CDS_Grid> grids;
};

}  // namespace zorvex
