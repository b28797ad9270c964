#include "run/Collision_Index.h"

#include <algorithm>
#include <bit>

#include "run/Object_Lists.h"

namespace zorvex {

namespace {

// Entries covering more cells than this go to a list that every query scans.
constexpr int64_t kMaxEntryCells = 16;
// Queries covering more cells than this, and lists shorter than kLinearCount, scan the list.
constexpr int64_t kMaxQueryCells = 256;
constexpr int kLinearCount = 24;
// A log this long is dropped and every grid rebuilt on its next query.
constexpr size_t kMaxLog = size_t{1} << 16;

enum : uint8_t { kUnindexed = 0, kInCells = 1, kInBig = 2 };

bool Overlap(const CRect& a, const CRect& b) {
  return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

// An instance with the placeholder box of a missing mask sprite collides with nothing.
bool Shapeless(const CInstance& i) {
  return i.bbox_left == kNoBoundingBox && i.bbox_top == kNoBoundingBox &&
         i.bbox_right == kNoBoundingBox && i.bbox_bottom == kNoBoundingBox && !i.MaskSprite();
}

CRect BoxOf(const CInstance& i) {
  return CRect{i.bbox_left, i.bbox_top, i.bbox_right, i.bbox_bottom};
}

void InsertSorted(std::vector<int32_t>& v, int32_t pos) {
  if (v.empty() || v.back() < pos) {
    v.push_back(pos);
    return;
  }
  auto it = std::lower_bound(v.begin(), v.end(), pos);
  if (it == v.end() || *it != pos) v.insert(it, pos);
}

void EraseSorted(std::vector<int32_t>& v, int32_t pos) {
  auto it = std::lower_bound(v.begin(), v.end(), pos);
  if (it != v.end() && *it == pos) v.erase(it);
}

}  // namespace

struct CCollisionIndex::Grid {
  bool built = false;
  uint64_t version = 0;
  size_t log_pos = 0;
  int32_t count = 0;  // list positions indexed
  int shift = 5;      // cells are 1 << shift pixels square
  uint32_t bucket_mask = 0;
  std::vector<std::vector<int32_t>> buckets;  // sorted positions per hashed cell
  std::vector<int32_t> big;                   // sorted positions of entries over many cells
  std::vector<CRect> boxes;                   // per position, as indexed
  std::vector<uint8_t> state;                 // per position: kUnindexed, kInCells, kInBig
  // Instance -> position, open addressing (null key = empty slot).
  std::vector<const CInstance*> keys;
  std::vector<int32_t> values;
  uint32_t hash_bits = 0;

  static uint32_t CellHash(int32_t cx, int32_t cy) {
    return static_cast<uint32_t>(cx) * 73856093u ^ static_cast<uint32_t>(cy) * 19349663u;
  }
  std::vector<int32_t>& Bucket(int32_t cx, int32_t cy) {
    return buckets[CellHash(cx, cy) & bucket_mask];
  }
  // The cells a box covers, as a count (64 bits: a huge box must not wrap).
  int64_t CellCount(const CRect& b) const {
    return ((int64_t{b.right} >> shift) - (int64_t{b.left} >> shift) + 1) *
           ((int64_t{b.bottom} >> shift) - (int64_t{b.top} >> shift) + 1);
  }

  template <class F>
  void ForCells(const CRect& b, F&& f) {
    const int32_t x0 = b.left >> shift, x1 = b.right >> shift;
    const int32_t y0 = b.top >> shift, y1 = b.bottom >> shift;
    for (int32_t cx = x0;; ++cx) {
      for (int32_t cy = y0;; ++cy) {
        f(Bucket(cx, cy));
        if (cy == y1) break;
      }
      if (cx == x1) break;
    }
  }

  void Insert(int32_t pos, const CInstance& inst) {
    const size_t p = static_cast<size_t>(pos);
    if (Shapeless(inst)) {
      state[p] = kUnindexed;
      return;
    }
    const CRect b = BoxOf(inst);
    boxes[p] = b;
    if (b.right < b.left || b.bottom < b.top || CellCount(b) > kMaxEntryCells) {
      state[p] = kInBig;
      InsertSorted(big, pos);
      return;
    }
    state[p] = kInCells;
    ForCells(b, [pos](std::vector<int32_t>& bucket) { InsertSorted(bucket, pos); });
  }

  void Remove(int32_t pos) {
    const size_t p = static_cast<size_t>(pos);
    if (state[p] == kInBig) EraseSorted(big, pos);
    if (state[p] == kInCells)
      ForCells(boxes[p], [pos](std::vector<int32_t>& bucket) { EraseSorted(bucket, pos); });
    state[p] = kUnindexed;
  }

  void Update(int32_t pos, const CInstance& inst) {
    const size_t p = static_cast<size_t>(pos);
    const CRect b = BoxOf(inst);
    // Within the same cells only the box changes.
    if (state[p] == kInCells && !Shapeless(inst) && b.left <= b.right && b.top <= b.bottom &&
        (b.left >> shift) == (boxes[p].left >> shift) &&
        (b.right >> shift) == (boxes[p].right >> shift) &&
        (b.top >> shift) == (boxes[p].top >> shift) &&
        (b.bottom >> shift) == (boxes[p].bottom >> shift)) {
      boxes[p] = b;
      return;
    }
    Remove(pos);
    Insert(pos, inst);
  }

  size_t Slot(const CInstance* key) const {
    const uint64_t h = (reinterpret_cast<uintptr_t>(key) >> 4) * 0x9E3779B97F4A7C15ull;
    return static_cast<size_t>(h >> (64 - hash_bits));
  }
  void HashPut(const CInstance* key, int32_t value) {
    const size_t mask = keys.size() - 1;
    for (size_t s = Slot(key);; s = (s + 1) & mask) {
      if (keys[s] == nullptr || keys[s] == key) {
        keys[s] = key;
        values[s] = value;
        return;
      }
    }
  }
  int32_t HashFind(const CInstance* key) const {
    if (keys.empty()) return -1;
    const size_t mask = keys.size() - 1;
    for (size_t s = Slot(key);; s = (s + 1) & mask) {
      if (keys[s] == key) return values[s];
      if (keys[s] == nullptr) return -1;
    }
  }
  // Room for n keys at half load at most; rehashes when it grows.
  void HashReserve(size_t n, const std::vector<CInstance*>& list, bool rebuild) {
    size_t want = 16;
    while (want < 2 * n)
      want <<= 1;
    if (!rebuild && want <= keys.size()) return;
    want = std::max(want, keys.size());
    keys.assign(want, nullptr);
    values.assign(want, -1);
    hash_bits = static_cast<uint32_t>(std::countr_zero(want));
    const size_t have = std::min(list.size(), static_cast<size_t>(count));
    for (size_t i = 0; i < have; ++i)
      HashPut(list[i], static_cast<int32_t>(i));
  }
};

CCollisionIndex::CCollisionIndex(CInstanceLists& lists) : lists_(&lists) {}

CCollisionIndex::~CCollisionIndex() {
  // The instances may outlive the index (they belong to the lists).
  for (CInstance* i : lists_->ActiveList())
    if (i->box_watch == this) i->box_watch = nullptr;
  for (CInstance* i : lists_->InactiveList())
    if (i->box_watch == this) i->box_watch = nullptr;
}

void CCollisionIndex::BoxChanged(const CInstance& inst) {
  if (log_.size() >= kMaxLog) {
    log_.clear();
    for (Grid* g : grids_) {
      g->built = false;
      g->log_pos = 0;
    }
  }
  log_.push_back(&inst);
}

const std::vector<CInstance*>& CCollisionIndex::ListOf(EInstanceList list, int32_t object) const {
  switch (list) {
    case EInstanceList::kExact:
      return lists_->Exact(object);
    case EInstanceList::kFamily:
      return lists_->Family(object);
    default:
      return lists_->ActiveList();
  }
}

CCollisionIndex::Grid& CCollisionIndex::GridFor(EInstanceList list, int32_t object) {
  std::unique_ptr<Grid>* slot = &active_;
  if (list != EInstanceList::kActive) {
    auto& v = list == EInstanceList::kExact ? exact_ : family_;
    const size_t o = static_cast<size_t>(std::max(object, 0));
    if (v.size() <= o) v.resize(o + 1);
    slot = &v[o];
  }
  if (!*slot) {
    *slot = std::make_unique<Grid>();
    grids_.push_back(slot->get());
  }
  return **slot;
}

void CCollisionIndex::Build(Grid& g, const std::vector<CInstance*>& list) {
  const size_t n = list.size();
  g.built = true;
  g.version = lists_->Version();
  g.log_pos = log_.size();
  g.count = static_cast<int32_t>(n);
  // Cells about as large as the average box, so that most boxes cover one to four of them.
  int64_t extent = 0, shaped = 0;
  for (const CInstance* i : list) {
    if (Shapeless(*i)) continue;
    extent += std::max<int64_t>(int64_t{i->bbox_right} - i->bbox_left,
                                int64_t{i->bbox_bottom} - i->bbox_top) +
              1;
    ++shaped;
  }
  const int64_t average = shaped ? extent / shaped : 32;
  g.shift = 4;
  while (g.shift < 12 && (int64_t{1} << g.shift) < average)
    ++g.shift;
  size_t buckets = 64;
  while (buckets < n)
    buckets <<= 1;
  if (g.buckets.size() < buckets) g.buckets.resize(buckets);
  for (auto& b : g.buckets)
    b.clear();
  g.bucket_mask = static_cast<uint32_t>(g.buckets.size() - 1);
  g.big.clear();
  g.boxes.resize(n);
  g.state.assign(n, kUnindexed);
  for (size_t p = 0; p < n; ++p) {
    g.Insert(static_cast<int32_t>(p), *list[p]);
    list[p]->box_watch = this;
  }
  g.HashReserve(n, list, true);
}

void CCollisionIndex::Append(Grid& g, const std::vector<CInstance*>& list) {
  const size_t from = static_cast<size_t>(g.count), n = list.size();
  g.boxes.resize(n);
  g.state.resize(n, kUnindexed);
  g.HashReserve(n, list, false);
  for (size_t p = from; p < n; ++p) {
    g.Insert(static_cast<int32_t>(p), *list[p]);
    g.HashPut(list[p], static_cast<int32_t>(p));
    list[p]->box_watch = this;
  }
  g.count = static_cast<int32_t>(n);
}

void CCollisionIndex::Sync(Grid& g, const std::vector<CInstance*>& list) {
  if (!g.built || g.version != lists_->Version() || list.size() < static_cast<size_t>(g.count)) {
    Build(g, list);
  } else {
    if (list.size() > static_cast<size_t>(g.count)) Append(g, list);
    // Many moves since the last query (every instance moved this step): applying them one by
    // one costs more than starting again.
    if (log_.size() - g.log_pos > static_cast<size_t>(g.count) + 64) {
      Build(g, list);
    } else {
      for (size_t k = g.log_pos; k < log_.size(); ++k) {
        const int32_t pos = g.HashFind(log_[k]);
        if (pos >= 0) g.Update(pos, *list[static_cast<size_t>(pos)]);
      }
    }
  }
  g.log_pos = log_.size();
  TrimLog();
}

void CCollisionIndex::TrimLog() {
  if (log_.size() < 1024) return;
  for (const Grid* g : grids_)
    if (g->built && g->log_pos != log_.size()) return;
  log_.clear();
  for (Grid* g : grids_)
    g->log_pos = 0;
}

void CCollisionIndex::Candidates(EInstanceList list, int32_t object, const CRect& r, int from,
                                 int limit, std::vector<int32_t>& out) {
  out.clear();
  const std::vector<CInstance*>& items = ListOf(list, object);
  limit = std::min(limit, static_cast<int>(items.size()));
  from = std::max(from, 0);
  if (from >= limit || r.right < r.left || r.bottom < r.top) return;
  if (limit - from < kLinearCount) {
    // Too few to be worth a grid: the boxes themselves.
    for (int p = from; p < limit; ++p) {
      const CInstance& i = *items[static_cast<size_t>(p)];
      if (!Shapeless(i) && Overlap(BoxOf(i), r)) out.push_back(p);
    }
    return;
  }
  Grid& g = GridFor(list, object);
  Sync(g, items);
  auto take = [&](int32_t p) {
    if (p >= from && p < limit && g.state[static_cast<size_t>(p)] != kUnindexed &&
        Overlap(g.boxes[static_cast<size_t>(p)], r))
      out.push_back(p);
  };
  if (g.CellCount(r) > kMaxQueryCells) {
    for (int p = from; p < limit; ++p)
      take(p);
    return;
  }
  size_t sources = 0;
  g.ForCells(r, [&](std::vector<int32_t>& bucket) {
    if (bucket.empty()) return;
    ++sources;
    auto it = std::lower_bound(bucket.begin(), bucket.end(), from);
    for (; it != bucket.end() && *it < limit; ++it)
      take(*it);
  });
  if (!g.big.empty()) {
    ++sources;
    for (int32_t p : g.big)
      take(p);
  }
  if (sources > 1) {
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
  }
}

}  // namespace zorvex
