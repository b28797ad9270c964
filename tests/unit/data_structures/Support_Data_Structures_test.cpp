#include "data_structures/Support_Data_Structures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace zorvex {
namespace {

// Written values, worked out by hand: int32 kind, little-endian double, int32 length + bytes.
constexpr const char* kZero =
    "00000000"
    "0000000000000000"
    "00000000";
constexpr const char* kOne =
    "00000000"
    "000000000000F03F"
    "00000000";
constexpr const char* kTwo =
    "00000000"
    "0000000000000040"
    "00000000";
constexpr const char* kThree =
    "00000000"
    "0000000000000840"
    "00000000";
constexpr const char* kFour =
    "00000000"
    "0000000000001040"
    "00000000";
constexpr const char* kA =
    "01000000"
    "0000000000000000"
    "01000000"
    "61";
constexpr const char* kB =
    "01000000"
    "0000000000000000"
    "01000000"
    "62";
constexpr const char* kC =
    "01000000"
    "0000000000000000"
    "01000000"
    "63";
constexpr const char* kD =
    "01000000"
    "0000000000000000"
    "01000000"
    "64";

std::string Cat(std::initializer_list<const char*> parts) {
  std::string s;
  for (const char* p : parts)
    s += p;
  return s;
}

std::string Repeat(const char* part, int n) {
  std::string s;
  for (int i = 0; i < n; ++i)
    s += part;
  return s;
}

RValue StringWithReal(const char* s, double r) {
  RValue v(s);
  v.real = r;
  return v;
}

std::vector<double> Reals(const std::vector<RValue>& values) {
  std::vector<double> out;
  for (const RValue& v : values)
    out.push_back(v.real);
  return out;
}

// ---------------------------------------------------------------------------------------------

TEST(DSCompare, RealsWithinPrecisionAreEqual) {
  EXPECT_EQ(DS_Compare(1.005, 1.0, 0.01), 0);
  EXPECT_EQ(DS_Compare(1.02, 1.0, 0.01), 1);
  EXPECT_EQ(DS_Compare(0.98, 1.0, 0.01), -1);
  EXPECT_EQ(DS_Compare(1.0, 1.0 + 5e-9, kDefaultDSPrecision), 0);
  EXPECT_EQ(DS_Compare(1.0, 1.0 + 5e-8, kDefaultDSPrecision), -1);
}

TEST(DSCompare, PrecisionZeroIsRelativeWithAFloor) {
  // 1e15 * 1e-12 = 1000.
  EXPECT_EQ(DS_Compare(1e15, 1e15 + 500.0, 0.0), 0);
  EXPECT_EQ(DS_Compare(1e15, 1e15 + 2000.0, 0.0), -1);
  // Near zero the tolerance is 1e-12.
  EXPECT_EQ(DS_Compare(1e-13, 5e-13, 0.0), 0);
  EXPECT_EQ(DS_Compare(1.0, 1.0 + 4e-12, 0.0), -1);
  EXPECT_EQ(DS_Compare(INFINITY, INFINITY, 0.0), 0);
}

TEST(DSCompare, StringsByteWiseAndRealsFirst) {
  EXPECT_LT(DS_Compare("B", "a", 0.0), 0);
  EXPECT_LT(DS_Compare("ab", "abc", 0.0), 0);
  EXPECT_GT(DS_Compare("\xff", "a", 0.0), 0);  // bytes are unsigned
  EXPECT_EQ(DS_Compare("abc", "abc", 0.0), 0);
  EXPECT_EQ(DS_Compare(1e300, "", 0.0), -1);
  EXPECT_EQ(DS_Compare("", -1e300, 0.0), 1);
}

// ---------------------------------------------------------------------------------------------

TEST(DSStack, PopAndTopOfEmptyAreRealZero) {
  CDS_Stack s;
  RValue v = s.Pop();
  EXPECT_TRUE(v.IsReal());
  EXPECT_EQ(v.real, 0.0);
  EXPECT_EQ(s.Top(), nullptr);
  EXPECT_EQ(s.Size(), 0);
}

TEST(DSStack, WrittenFormBottomFirst) {
  CDS_Stack s;
  s.Push(1.0);
  s.Push("a");
  EXPECT_EQ(s.Write(), Cat({"65000000", "02000000", kOne, kA}));
  CDS_Stack t;
  ASSERT_EQ(t.Read(s.Write()), DSReadResult::kOk);
  EXPECT_EQ(t.Pop().str, "a");
  EXPECT_EQ(t.Pop().real, 1.0);
}

// ---------------------------------------------------------------------------------------------

TEST(DSQueue, TwentyInThreeOutWritesAllThirtyTwoSlots) {
  CDS_Queue q;
  for (int i = 1; i <= 20; ++i)
    q.Enqueue(static_cast<double>(i));
  for (int i = 1; i <= 3; ++i)
    EXPECT_EQ(q.Dequeue().real, i);
  std::string w = q.Write();
  EXPECT_EQ(w.substr(0, 32), Cat({"C9000000", "14000000", "03000000", "20000000"}));
  // 32 slots of 16 bytes; the spent ones keep their values.
  EXPECT_EQ(w.size(), 32u + 32u * 32u);
  EXPECT_EQ(w.substr(32, 32), kOne);
  // The last filled slot holds 20.0, then 12 slots never filled.
  EXPECT_EQ(w.substr(32 + 19 * 32), std::string("00000000"
                                                "0000000000003440"
                                                "00000000") +
                                        Repeat(kZero, 12));
  EXPECT_EQ(q.Size(), 17);
  EXPECT_EQ(q.Head()->real, 4.0);
  EXPECT_EQ(q.Tail()->real, 20.0);
}

TEST(DSQueue, SmallWrittenFormByHand) {
  CDS_Queue q;
  q.Enqueue(2.0);
  q.Enqueue("a");
  q.Dequeue();
  EXPECT_EQ(q.Write(),
            Cat({"C9000000", "02000000", "01000000", "10000000", kTwo, kA}) + Repeat(kZero, 14));
}

TEST(DSQueue, CompactionMovesLiveItemsDownAndLeavesOldSlots) {
  CDS_Queue q;
  for (int i = 1; i <= 40; ++i)
    q.Enqueue(static_cast<double>(i));
  EXPECT_EQ(q.Capacity(), 48);
  for (int i = 1; i <= 20; ++i)
    q.Dequeue();
  // head 20 is not more than tail div 2 = 20: no compaction yet.
  EXPECT_EQ(q.HeadIndex(), 20);
  EXPECT_EQ(q.Dequeue().real, 21.0);
  // head 21 > 16 and > 20: items 22..40 move to slots 0..18.
  EXPECT_EQ(q.HeadIndex(), 0);
  EXPECT_EQ(q.TailIndex(), 19);
  EXPECT_EQ(q.Capacity(), 48);
  const auto& slots = q.Slots();
  EXPECT_EQ(slots[0].real, 22.0);
  EXPECT_EQ(slots[18].real, 40.0);
  EXPECT_EQ(slots[19].real, 20.0);  // untouched since it was enqueued
  EXPECT_EQ(slots[39].real, 40.0);
  EXPECT_EQ(slots[40].real, 0.0);
  EXPECT_EQ(q.Head()->real, 22.0);
  EXPECT_EQ(q.Tail()->real, 40.0);
}

TEST(DSQueue, DequeueOfEmptyIsRealZeroAndClearGivesCapacityBack) {
  CDS_Queue q;
  EXPECT_EQ(q.Dequeue().real, 0.0);
  EXPECT_EQ(q.Head(), nullptr);
  q.Enqueue(1.0);
  q.Clear();
  EXPECT_EQ(q.Capacity(), 0);
  EXPECT_EQ(q.Write(), Cat({"C9000000", "00000000", "00000000", "00000000"}));
}

TEST(DSQueue, ReadRefusesContradictingIndices) {
  CDS_Queue q;
  q.Enqueue(1.0);
  const std::string before = q.Write();
  // head 2 > tail 1
  EXPECT_EQ(q.Read(Cat({"C9000000", "01000000", "02000000", "01000000", kOne})),
            DSReadResult::kCorrupt);
  // tail 2 beyond capacity 1
  EXPECT_EQ(q.Read(Cat({"C9000000", "02000000", "00000000", "01000000", kOne})),
            DSReadResult::kCorrupt);
  EXPECT_EQ(q.Write(), before);
}

// ---------------------------------------------------------------------------------------------

TEST(DSList, InsertReplaceDeleteBounds) {
  CDS_List l;
  EXPECT_TRUE(l.Insert(0, 2.0));   // [2]
  EXPECT_TRUE(l.Insert(1, 4.0));   // [2, 4] (pos = count appends)
  EXPECT_FALSE(l.Insert(3, 9.0));  // beyond count: nothing
  EXPECT_FALSE(l.Insert(-1, 9.0));
  EXPECT_TRUE(l.Insert(1, 3.0));  // [2, 3, 4]
  EXPECT_FALSE(l.Replace(3, 9.0));
  EXPECT_TRUE(l.Replace(0, 1.0));  // [1, 3, 4]
  EXPECT_TRUE(l.Delete(1));        // [1, 4]
  EXPECT_FALSE(l.Delete(2));
  EXPECT_EQ(Reals(l.Items()), (std::vector<double>{1, 4}));
  EXPECT_EQ(l.At(2), nullptr);
  EXPECT_EQ(l.At(-1), nullptr);
}

TEST(DSList, FindIndexUsesPrecisionAndLowestPosition) {
  CDS_List l;
  l.Add("1");
  l.Add(1.005);
  l.Add(1.0);
  EXPECT_EQ(l.FindIndex(1.0, 0.01), 1);
  EXPECT_EQ(l.FindIndex(1.0, kDefaultDSPrecision), 2);
  EXPECT_EQ(l.FindIndex("1", 0.01), 0);
  EXPECT_EQ(l.FindIndex(7.0, 0.01), -1);
}

TEST(DSList, SortPutsRealsBeforeStrings) {
  CDS_List l;
  l.Add(3.0);
  l.Add("a");
  l.Add(1.0);
  l.Sort(true, kDefaultDSPrecision);
  EXPECT_EQ(l.Write(), Cat({"2D010000", "03000000", kOne, kThree, kA}));
  l.Sort(false, kDefaultDSPrecision);
  EXPECT_EQ(l.Write(), Cat({"2D010000", "03000000", kA, kThree, kOne}));
}

TEST(DSList, EqualValuesKeepOrderAscendingAndReverseDescending) {
  CDS_List l;
  for (double tag : {1.0, 2.0, 3.0})
    l.Add(StringWithReal("x", tag));
  l.Add(StringWithReal("a", 9.0));
  l.Sort(true, 0.0);
  EXPECT_EQ(Reals(l.Items()), (std::vector<double>{9, 1, 2, 3}));
  l.Sort(false, 0.0);
  EXPECT_EQ(Reals(l.Items()), (std::vector<double>{3, 2, 1, 9}));
  l.Sort(false, 0.0);  // sorting again reverses the equal ones again
  EXPECT_EQ(Reals(l.Items()), (std::vector<double>{1, 2, 3, 9}));
}

TEST(DSList, CloseValuesBehaveAsEqualInTheSort) {
  // With precision 0.01, 1.0 and 1.001 are equal.
  CDS_List l;
  l.Add(1.001);
  l.Add(1.0);
  l.Add(0.5);
  l.Sort(true, 0.01);  // 0.5 moves to the front; 1.001 stays before 1.0
  EXPECT_EQ(Reals(l.Items()), (std::vector<double>{0.5, 1.001, 1.0}));
  l.Clear();
  l.Add(1.0);
  l.Add(1.001);
  l.Add(2.0);
  l.Sort(false, 0.01);  // 2 first, the equal pair reversed
  EXPECT_EQ(Reals(l.Items()), (std::vector<double>{2.0, 1.001, 1.0}));
}

TEST(DSList, ChainOfCloseValuesSortsLikeTheInsertionSort) {
  // Within 0.3: 0.7 ~ 0.95 ~ 1.2, but 0.7 < 1.2. Insertion sort of [1.2, 0.95, 0.7]:
  // 0.95 stays after 1.2 (equal); 0.7 stays after 0.95 (equal).
  CDS_List l;
  l.Add(1.2);
  l.Add(0.95);
  l.Add(0.7);
  l.Sort(true, 0.3);
  EXPECT_EQ(Reals(l.Items()), (std::vector<double>{1.2, 0.95, 0.7}));
  // [1.2, 0.7, 0.95]: 0.7 passes 1.2 (greater); 0.95 stays after 1.2: [0.7, 1.2, 0.95].
  l.Clear();
  l.Add(1.2);
  l.Add(0.7);
  l.Add(0.95);
  l.Sort(true, 0.3);
  EXPECT_EQ(Reals(l.Items()), (std::vector<double>{0.7, 1.2, 0.95}));
}

// The sort must give exactly what the insertion sort gives, also where equality within the
// precision is not transitive.
std::vector<RValue> ReferenceInsertionSort(std::vector<RValue> v, bool ascending, double p) {
  for (size_t i = 1; i < v.size(); ++i) {
    for (size_t j = i; j > 0; --j) {
      int c = DS_Compare(v[j - 1], v[j], p);
      if (ascending ? !(c > 0) : !(c <= 0)) break;
      std::swap(v[j - 1], v[j]);
    }
  }
  return v;
}

TEST(DSList, SortMatchesInsertionSortOnRandomCloseValues) {
  std::mt19937 rng(12345);
  for (double p : {0.0, 1e-8, 0.05, 0.3}) {
    for (int round = 0; round < 200; ++round) {
      CDS_List l;
      // Mostly short lists; some long enough for the blocked insertion sort to split blocks.
      const int n = static_cast<int>(round % 20 == 0 ? 300 + rng() % 300 : rng() % 40);
      int tag = 0;
      for (int i = 0; i < n; ++i) {
        RValue v;
        switch (rng() % 6) {
          case 0:
            v = StringWithReal(rng() % 2 ? "k" : "j", ++tag);
            break;
          case 1:  // exact duplicates
            v = static_cast<double>(rng() % 3);
            break;
          default:  // values a fraction of the precision apart
            v = static_cast<double>(rng() % 4) + (p == 0.0 ? 1e-13 : p * 0.4) * (rng() % 7);
        }
        l.Add(v);
      }
      for (bool asc : {true, false}) {
        CDS_List copy = l;
        copy.Sort(asc, p);
        std::vector<RValue> expected = ReferenceInsertionSort(l.Items(), asc, p);
        ASSERT_EQ(copy.Items().size(), expected.size());
        for (size_t i = 0; i < expected.size(); ++i)
          ASSERT_TRUE(copy.Items()[i] == expected[i])
              << "p=" << p << " round " << round << " i " << i;
      }
    }
  }
}

TEST(DSList, SortOfOneLongChainOfCloseValues) {
  // 3000 values spread over [0, 100) with precision 0.2: neighbours are far closer than the
  // precision, so the whole list is one chain of values that compare equal pairwise.
  std::mt19937 rng(77);
  std::uniform_real_distribution<double> value(0.0, 100.0);
  CDS_List l;
  for (int i = 0; i < 3000; ++i)
    l.Add(value(rng));
  for (bool asc : {true, false}) {
    CDS_List copy = l;
    copy.Sort(asc, 0.2);
    EXPECT_EQ(Reals(copy.Items()), Reals(ReferenceInsertionSort(l.Items(), asc, 0.2)));
  }
}

TEST(DSList, SortWithNaNGivesTheInsertionSortResult) {
  CDS_List l;
  for (double d : {3.0, std::nan(""), 1.0, 2.0})
    l.Add(d);
  CDS_List copy = l;
  copy.Sort(true, kDefaultDSPrecision);
  std::vector<RValue> expected = ReferenceInsertionSort(l.Items(), true, kDefaultDSPrecision);
  for (size_t i = 0; i < expected.size(); ++i) {
    if (std::isnan(expected[i].real))
      EXPECT_TRUE(std::isnan(copy.Items()[i].real));
    else
      EXPECT_EQ(copy.Items()[i].real, expected[i].real);
  }
}

// A draw callback that replays a script of results and records every n it was asked for.
struct ScriptedDraws {
  std::vector<uint32_t> script;
  std::vector<uint32_t> asked;
  size_t next = 0;
  static uint32_t Draw(void* ctx, uint32_t n) {
    auto* self = static_cast<ScriptedDraws*>(ctx);
    self->asked.push_back(n);
    return self->next < self->script.size() ? self->script[self->next++] : 0;
  }
};

TEST(DSList, ShuffleSwapsCountTimesEightPairs) {
  CDS_List l;
  l.Add("a");
  l.Add("b");
  l.Add("c");
  ScriptedDraws d;
  d.script = {0, 2, 1, 1, 1, 0};  // swap 0,2 -> c b a; swap 1,1; swap 1,0 -> b c a
  CDS_RandomSource r;
  r.draw = ScriptedDraws::Draw;
  r.context = &d;
  l.Shuffle(r);
  EXPECT_EQ(d.asked, std::vector<uint32_t>(48, 3));  // 3 x 8 pairs of draws below 3
  EXPECT_EQ(l.Items()[0].str, "b");
  EXPECT_EQ(l.Items()[1].str, "c");
  EXPECT_EQ(l.Items()[2].str, "a");
}

TEST(DSRandom, FallbackUsesTheGameRecurrence) {
  CDS_RandomSource r;
  r.fallback_seed = 0xFFFFFFFFu;
  // seed becomes 4160191484; (10 * 4160191484) >> 32 = 9.
  EXPECT_EQ(r.Draw(10), 9u);
  EXPECT_EQ(r.fallback_seed, 4160191484u);
}

// ---------------------------------------------------------------------------------------------

// The key-returning lookups of a map as optional values.
std::optional<RValue> Prev(const CDS_Map& m, const RValue& key, double p = kDefaultDSPrecision) {
  RValue out;
  if (!m.FindPrevious(key, p, out)) return std::nullopt;
  return out;
}
std::optional<RValue> Next(const CDS_Map& m, const RValue& key, double p = kDefaultDSPrecision) {
  RValue out;
  if (!m.FindNext(key, p, out)) return std::nullopt;
  return out;
}

TEST(DSMap, PreviousNextFirstLast) {
  CDS_Map m;
  for (double k : {2.0, 3.0, 1.0})
    m.Add(k, k * 10, kDefaultDSPrecision);
  EXPECT_EQ(Prev(m, 4.0)->real, 3.0);
  EXPECT_FALSE(Next(m, 3.0));
  EXPECT_FALSE(Prev(m, 1.0));
  EXPECT_EQ(Prev(m, 2.0)->real, 1.0);
  EXPECT_EQ(Next(m, 0.5)->real, 1.0);
  EXPECT_EQ(Next(m, 1.5)->real, 2.0);
  EXPECT_FALSE(Next(m, "z"));
  EXPECT_EQ(Prev(m, "z")->real, 3.0);
  RValue first, last;
  ASSERT_TRUE(m.First(first));
  ASSERT_TRUE(m.Last(last));
  EXPECT_EQ(first.real, 1.0);
  EXPECT_EQ(last.real, 3.0);
  EXPECT_EQ(m.FindValue(2.0, kDefaultDSPrecision)->real, 20.0);
  CDS_Map empty;
  EXPECT_FALSE(empty.First(first));
  EXPECT_FALSE(Prev(empty, 1.0));
  EXPECT_FALSE(Next(empty, 1.0));
}

TEST(DSMap, DuplicateKeysKeepInsertionOrder) {
  CDS_Map m;
  m.Add("k", 1.0, kDefaultDSPrecision);
  m.Add("k", 2.0, kDefaultDSPrecision);
  m.Add(5.0, 3.0, kDefaultDSPrecision);
  EXPECT_EQ(m.Size(), 3);
  EXPECT_EQ(m.FindValue("k", kDefaultDSPrecision)->real, 1.0);
  EXPECT_EQ(m.Write(),
            Cat({"91010000", "03000000", "00000000", "0000000000001440", "00000000",  // key 5
                 "01000000", "0000000000000000", "01000000", "6B",                    // "k"
                 "01000000", "0000000000000000", "01000000", "6B",                    // "k"
                 kThree, kOne, kTwo}));
  EXPECT_TRUE(m.Delete("k", kDefaultDSPrecision));  // the first one
  EXPECT_EQ(m.FindValue("k", kDefaultDSPrecision)->real, 2.0);
  EXPECT_TRUE(m.Replace("k", 7.0, kDefaultDSPrecision));
  EXPECT_EQ(m.FindValue("k", kDefaultDSPrecision)->real, 7.0);
  EXPECT_FALSE(m.Replace("q", 7.0, kDefaultDSPrecision));
  EXPECT_FALSE(m.Delete(4.0, kDefaultDSPrecision));
}

TEST(DSMap, KeysWithinPrecisionFindEachOther) {
  CDS_Map m;
  m.Add(1.0, "one", 0.01);
  EXPECT_EQ(m.FindValue(1.005, 0.01)->str, "one");
  EXPECT_EQ(m.FindValue(1.005, kDefaultDSPrecision), nullptr);
  // An equal key goes after the present one.
  m.Add(1.004, "close", 0.01);
  EXPECT_EQ(m.Keys()[1].real, 1.004);
}

// The literal algorithm on one flat array, for comparison with the chunked map.
struct FlatMap {
  std::vector<RValue> keys, values;
  size_t Lower(const RValue& k) const {
    size_t i = 0;
    while (i < keys.size() && DS_Compare(keys[i], k, 0.0) < 0)
      ++i;
    return i;
  }
  size_t UpperPlusOne(const RValue& k) const {
    size_t i = 0;
    while (i < keys.size() && DS_Compare(keys[i], k, 0.0) <= 0)
      ++i;
    return i;
  }
};

TEST(DSMap, ManyOperationsMatchTheFlatArray) {
  std::mt19937 rng(7);
  CDS_Map m;
  FlatMap ref;
  for (int step = 0; step < 20000; ++step) {
    RValue key = static_cast<double>(rng() % 700);
    if (rng() % 10 == 0) key = std::string(1, static_cast<char>('a' + rng() % 20));
    switch (rng() % 5) {
      case 0:
      case 1:
      case 2: {
        RValue value = static_cast<double>(step);
        m.Add(key, value, 0.0);
        size_t at = ref.UpperPlusOne(key);
        ref.keys.insert(ref.keys.begin() + static_cast<ptrdiff_t>(at), key);
        ref.values.insert(ref.values.begin() + static_cast<ptrdiff_t>(at), value);
        break;
      }
      case 3: {
        size_t at = ref.Lower(key);
        bool present = at < ref.keys.size() && DS_Compare(ref.keys[at], key, 0.0) == 0;
        ASSERT_EQ(m.Delete(key, 0.0), present);
        if (present) {
          ref.keys.erase(ref.keys.begin() + static_cast<ptrdiff_t>(at));
          ref.values.erase(ref.values.begin() + static_cast<ptrdiff_t>(at));
        }
        break;
      }
      case 4: {
        size_t at = ref.Lower(key);
        std::optional<RValue> prev = Prev(m, key, 0.0);
        if (at == 0)
          ASSERT_FALSE(prev);
        else
          ASSERT_TRUE(prev && *prev == ref.keys[at - 1]);
        size_t up = ref.UpperPlusOne(key);
        std::optional<RValue> next = Next(m, key, 0.0);
        if (up == ref.keys.size())
          ASSERT_FALSE(next);
        else
          ASSERT_TRUE(next && *next == ref.keys[up]);
        const RValue* found = m.FindValue(key, 0.0);
        if (at < ref.keys.size() && DS_Compare(ref.keys[at], key, 0.0) == 0)
          ASSERT_TRUE(found && *found == ref.values[at]);
        else
          ASSERT_EQ(found, nullptr);
        break;
      }
    }
    ASSERT_EQ(m.Size(), static_cast<int32_t>(ref.keys.size()));
  }
  EXPECT_EQ(m.Keys(), ref.keys);
  EXPECT_EQ(m.Values(), ref.values);
  CDS_Map back;
  ASSERT_EQ(back.Read(m.Write()), DSReadResult::kOk);
  EXPECT_EQ(back.Keys(), ref.keys);
  EXPECT_EQ(back.Values(), ref.values);
}

TEST(DSMap, ReadKeepsTheWrittenOrder) {
  // Keys 2 then 1, as some other writer left them: read as they are.
  CDS_Map m;
  ASSERT_EQ(m.Read(Cat({"91010000", "02000000", kTwo, kOne, kA, kB})), DSReadResult::kOk);
  EXPECT_EQ(Reals(m.Keys()), (std::vector<double>{2, 1}));
  EXPECT_EQ(m.Values()[1].str, "b");
}

// ---------------------------------------------------------------------------------------------

TEST(DSPriority, EqualPrioritiesLowestIndexWinsAndLastMovesIn) {
  CDS_Priority p;
  p.Add("a", 3.0);
  p.Add("b", 1.0);
  p.Add("c", 2.0);
  p.Add("d", 1.0);
  int32_t i = p.MinIndex(kDefaultDSPrecision);
  ASSERT_EQ(i, 1);
  EXPECT_EQ(p.TakeAt(i).str, "b");
  // d moved into index 1.
  EXPECT_EQ(p.Write(), Cat({"F5010000", "03000000", kThree, kOne, kTwo, kA, kD, kC}));
  EXPECT_EQ(p.ValueAt(p.MaxIndex(kDefaultDSPrecision)).str, "a");
}

TEST(DSPriority, ScanWithNonTransitiveEquality) {
  // 1.000000005 ~ 1.0 and 1.000000005 ~ 0.999999996: the first entry stays the minimum.
  CDS_Priority p;
  p.Add("first", 1.000000005);
  p.Add("second", 1.0);
  p.Add("third", 0.999999996);
  EXPECT_EQ(p.MinIndex(kDefaultDSPrecision), 0);
  // 1.000000016 ~ 1.000000008, but 1.0 is more than 1e-8 below 1.000000016.
  CDS_Priority q;
  q.Add("a", 1.000000016);
  q.Add("b", 1.000000008);
  q.Add("c", 1.0);
  EXPECT_EQ(q.MinIndex(kDefaultDSPrecision), 2);
  EXPECT_EQ(q.MaxIndex(kDefaultDSPrecision), 0);
}

TEST(DSPriority, FindByValue) {
  CDS_Priority p;
  p.Add(10.0, 5.0);
  p.Add(20.0, 6.0);
  p.Add(10.0, 7.0);
  EXPECT_EQ(p.FindPriority(10.0, kDefaultDSPrecision)->real, 5.0);
  EXPECT_EQ(p.FindPriority(30.0, kDefaultDSPrecision), nullptr);
  EXPECT_TRUE(p.ChangePriority(10.0, 8.0, kDefaultDSPrecision));
  EXPECT_EQ(p.ValueAt(p.MaxIndex(kDefaultDSPrecision)).real, 10.0);
  EXPECT_EQ(p.PriorityAt(0).real, 8.0);
  EXPECT_TRUE(p.DeleteValue(10.0, kDefaultDSPrecision));  // index 0; the last moves in
  EXPECT_EQ(p.PriorityAt(0).real, 7.0);
  EXPECT_FALSE(p.DeleteValue(99.0, kDefaultDSPrecision));
}

template <bool kMin>
int32_t ReferenceScan(const CDS_Priority& p, double precision) {
  if (p.Size() == 0) return -1;
  int32_t best = 0;
  for (int32_t i = 1; i < p.Size(); ++i) {
    int c = DS_Compare(p.PriorityAt(i), p.PriorityAt(best), precision);
    if (kMin ? c < 0 : c > 0) best = i;
  }
  return best;
}

TEST(DSPriority, MatchesTheLinearScanUnderRandomOperations) {
  std::mt19937 rng(99);
  for (double precision : {0.0, 1e-8, 0.25}) {
    CDS_Priority p;
    for (int step = 0; step < 6000; ++step) {
      unsigned op = rng() % 10;
      if (op < 5 || p.Size() == 0) {
        RValue prio;
        switch (rng() % 5) {
          case 0:
            prio = std::string(1, static_cast<char>('a' + rng() % 3));
            break;
          case 1:
            prio = static_cast<double>(rng() % 5);
            break;
          default:  // clusters closer than the precision
            prio = static_cast<double>(rng() % 3) +
                   (precision == 0.0 ? 3e-13 : precision * 0.45) * (rng() % 6);
        }
        p.Add(static_cast<double>(step), prio);
      } else if (op < 7) {
        int32_t i = p.MinIndex(precision);
        ASSERT_EQ(i, ReferenceScan<true>(p, precision)) << "step " << step;
        p.TakeAt(i);
      } else if (op < 9) {
        int32_t i = p.MaxIndex(precision);
        ASSERT_EQ(i, ReferenceScan<false>(p, precision)) << "step " << step;
        p.TakeAt(i);
      } else {
        int32_t i = static_cast<int32_t>(rng() % static_cast<uint32_t>(p.Size()));
        p.ChangePriority(p.ValueAt(i), static_cast<double>(rng() % 4), 0.0);
      }
    }
  }
}

TEST(DSPriority, NaNPrioritiesStillFollowTheScan) {
  CDS_Priority p;
  p.Add("a", 2.0);
  p.Add("b", std::nan(""));
  p.Add("c", 1.0);
  // NaN compares greater than 2 (not equal, not less), and 1 compares greater than NaN.
  EXPECT_EQ(p.MinIndex(kDefaultDSPrecision), ReferenceScan<true>(p, kDefaultDSPrecision));
  EXPECT_EQ(p.MaxIndex(kDefaultDSPrecision), ReferenceScan<false>(p, kDefaultDSPrecision));
}

TEST(DSPriority, ReadRebuildsTheOrder) {
  CDS_Priority p;
  ASSERT_EQ(p.Read(Cat({"F5010000", "03000000", kThree, kOne, kTwo, kA, kB, kC})),
            DSReadResult::kOk);
  EXPECT_EQ(p.ValueAt(p.MinIndex(kDefaultDSPrecision)).str, "b");
  EXPECT_EQ(p.ValueAt(p.MaxIndex(kDefaultDSPrecision)).str, "a");
  p.Add("d", 0.5);
  EXPECT_EQ(p.ValueAt(p.MinIndex(kDefaultDSPrecision)).str, "d");
}

// ---------------------------------------------------------------------------------------------

TEST(DSGrid, WrittenFormColumnByColumn) {
  CDS_Grid g;
  ASSERT_TRUE(g.Resize(2, 2));
  g.Modify(CDS_Grid::Op::kSet, 0, 0, 1.0);
  g.Modify(CDS_Grid::Op::kSet, 1, 0, 2.0);
  g.Modify(CDS_Grid::Op::kSet, 0, 1, 3.0);
  g.Modify(CDS_Grid::Op::kSet, 1, 1, "a");
  EXPECT_EQ(g.Write(), Cat({"59020000", "02000000", "02000000", kOne, kThree, kTwo, kA}));
  CDS_Grid h;
  ASSERT_EQ(h.Read(g.Write()), DSReadResult::kOk);
  EXPECT_EQ(h.Get(0, 1).real, 3.0);
  EXPECT_EQ(h.Get(1, 1).str, "a");
  EXPECT_EQ(h.Write(), g.Write());
}

TEST(DSGrid, ModifyOperations) {
  CDS_Grid g;
  ASSERT_TRUE(g.Resize(3, 1));
  g.Modify(CDS_Grid::Op::kAdd, 0, 0, 2.0);       // 0 + 2
  g.Modify(CDS_Grid::Op::kMultiply, 0, 0, 3.0);  // 6
  g.Modify(CDS_Grid::Op::kSet, 1, 0, "ab");
  g.Modify(CDS_Grid::Op::kAdd, 1, 0, "cd");      // "abcd"
  g.Modify(CDS_Grid::Op::kMultiply, 1, 0, 2.0);  // strings are not multiplied
  g.Modify(CDS_Grid::Op::kSet, 2, 0, "s");
  g.Modify(CDS_Grid::Op::kAdd, 2, 0, 4.0);  // a real added to a string replaces it
  g.Modify(CDS_Grid::Op::kSet, 5, 0, 1.0);  // outside: nothing
  EXPECT_EQ(g.Get(0, 0).real, 6.0);
  EXPECT_EQ(g.Get(1, 0).str, "abcd");
  EXPECT_TRUE(g.Get(1, 0).IsString());
  EXPECT_TRUE(g.Get(2, 0).IsReal());
  EXPECT_EQ(g.Get(2, 0).real, 4.0);
  EXPECT_EQ(g.Get(-1, 0).real, 0.0);
  // set takes only the part of the value's kind: the cell keeps its old string part.
  EXPECT_EQ(g.Write(), Cat({"59020000", "03000000", "01000000", "00000000", "0000000000001840",
                            "00000000",                                              // 6
                            "01000000", "0000000000000000", "04000000", "61626364",  // "abcd"
                            "00000000", "0000000000001040", "01000000", "73"}));     // 4, "s"
}

TEST(DSGrid, RegionsInAnyCornerOrderAndClampedToTheGrid) {
  CDS_Grid g;
  ASSERT_TRUE(g.Resize(4, 3));
  g.ModifyRegion(CDS_Grid::Op::kSet, 5, 1, 2, -4, 1.0);  // x 2..3, y 0..1
  auto st = g.RegionStats(0, 0, 3, 2);
  EXPECT_EQ(st.sum, 4.0);
  EXPECT_EQ(st.mean, 4.0 / 12.0);
  EXPECT_EQ(g.Get(2, 0).real, 1.0);
  EXPECT_EQ(g.Get(3, 1).real, 1.0);
  EXPECT_EQ(g.Get(1, 1).real, 0.0);
  EXPECT_EQ(g.Get(2, 2).real, 0.0);
  st = g.RegionStats(10, 10, 20, 20);  // entirely outside
  EXPECT_EQ(st.sum, 0.0);
  EXPECT_EQ(st.max, -100000000.0);
  EXPECT_EQ(st.min, 100000000.0);
  EXPECT_EQ(st.mean, 0.0);
}

TEST(DSGrid, StatsSkipStringCells) {
  CDS_Grid g;
  ASSERT_TRUE(g.Resize(2, 2));
  g.ClearTo("x");
  auto st = g.RegionStats(0, 0, 1, 1);
  EXPECT_EQ(st.max, -100000000.0);
  EXPECT_EQ(st.min, 100000000.0);
  g.Modify(CDS_Grid::Op::kSet, 1, 1, -3.0);
  g.Modify(CDS_Grid::Op::kSet, 0, 1, 5.0);
  st = g.RegionStats(0, 0, 1, 1);
  EXPECT_EQ(st.sum, 2.0);
  EXPECT_EQ(st.max, 5.0);
  EXPECT_EQ(st.min, -3.0);
  EXPECT_EQ(st.mean, 1.0);
}

TEST(DSGrid, DisksAreNotRounded) {
  CDS_Grid g;
  ASSERT_TRUE(g.Resize(5, 5));
  g.ModifyDisk(CDS_Grid::Op::kSet, 2, 2, 1, 1.0);  // the centre and its four neighbours
  EXPECT_EQ(g.RegionStats(0, 0, 4, 4).sum, 5.0);
  EXPECT_EQ(g.Get(1, 1).real, 0.0);
  EXPECT_EQ(g.Get(2, 3).real, 1.0);
  // Centre (2.5, 2.5), radius 0.8: the four cells around the centre (distance² 0.5).
  CDS_Grid h;
  ASSERT_TRUE(h.Resize(5, 5));
  h.ModifyDisk(CDS_Grid::Op::kAdd, 2.5, 2.5, 0.8, 1.0);
  EXPECT_EQ(h.RegionStats(0, 0, 4, 4).sum, 4.0);
  EXPECT_EQ(h.Get(3, 3).real, 1.0);
  EXPECT_EQ(h.DiskStats(2.5, 2.5, 0.8).mean, 1.0);
  EXPECT_EQ(h.DiskStats(0.0, 0.0, 1.0).sum, 0.0);
  // A disk partly outside the grid.
  h.ModifyDisk(CDS_Grid::Op::kSet, 0, 0, 1, 7.0);  // (0,0), (1,0), (0,1)
  EXPECT_EQ(h.DiskStats(0, 0, 1).sum, 21.0);
  EXPECT_EQ(h.DiskStats(std::nan(""), 0, 1).sum, 0.0);
}

TEST(DSGrid, ValueSearchGoesColumnByColumn) {
  CDS_Grid g;
  ASSERT_TRUE(g.Resize(3, 3));
  g.Modify(CDS_Grid::Op::kSet, 2, 0, 7.0);
  g.Modify(CDS_Grid::Op::kSet, 1, 2, 7.0);
  int32_t x = -1, y = -1;
  ASSERT_TRUE(g.FindInRegion(0, 0, 2, 2, 7.0, kDefaultDSPrecision, x, y));
  EXPECT_EQ(x, 1);
  EXPECT_EQ(y, 2);
  EXPECT_FALSE(g.FindInRegion(0, 0, 2, 2, "7", kDefaultDSPrecision, x, y));
  ASSERT_TRUE(g.FindInDisk(2, 0, 0.5, 7.0000000001, kDefaultDSPrecision, x, y));
  EXPECT_EQ(x, 2);
  EXPECT_EQ(y, 0);
}

TEST(DSGrid, GridRegionCopyWithShiftedEdges) {
  // Source columns 10..20, row 0, into a target 15 columns wide from (0, 0).
  CDS_Grid src, dst;
  ASSERT_TRUE(src.Resize(25, 1));
  ASSERT_TRUE(dst.Resize(15, 1));
  for (int x = 0; x < 25; ++x)
    src.Modify(CDS_Grid::Op::kSet, x, 0, static_cast<double>(x));
  dst.ModifyFromGrid(CDS_Grid::Op::kSet, src, 10, 0, 20, 0, 0, 0);
  for (int x = 0; x <= 10; ++x)
    EXPECT_EQ(dst.Get(x, 0).real, 10.0 + x);
  EXPECT_EQ(dst.Get(11, 0).real, 0.0);
  // A negative position moves the source's left edge: columns 2..4 land on 0..2.
  CDS_Grid d2;
  ASSERT_TRUE(d2.Resize(5, 1));
  d2.ModifyFromGrid(CDS_Grid::Op::kAdd, src, 0, 0, 4, 0, -2, 0);
  EXPECT_EQ(Reals({d2.Get(0, 0), d2.Get(1, 0), d2.Get(2, 0), d2.Get(3, 0)}),
            (std::vector<double>{2, 3, 4, 0}));
}

TEST(DSGrid, GridRegionCopyOntoItselfReadsBeforeWriting) {
  CDS_Grid g;
  ASSERT_TRUE(g.Resize(5, 1));
  for (int x = 0; x < 5; ++x)
    g.Modify(CDS_Grid::Op::kSet, x, 0, x + 1.0);
  g.ModifyFromGrid(CDS_Grid::Op::kSet, g, 0, 0, 3, 0, 1, 0);  // to the right
  EXPECT_EQ(Reals({g.Get(0, 0), g.Get(1, 0), g.Get(2, 0), g.Get(3, 0), g.Get(4, 0)}),
            (std::vector<double>{1, 1, 2, 3, 4}));
  g.ModifyFromGrid(CDS_Grid::Op::kSet, g, 1, 0, 4, 0, 0, 0);  // to the left
  EXPECT_EQ(Reals({g.Get(0, 0), g.Get(1, 0), g.Get(2, 0), g.Get(3, 0), g.Get(4, 0)}),
            (std::vector<double>{1, 2, 3, 4, 4}));
  CDS_Grid v;
  ASSERT_TRUE(v.Resize(1, 4));
  for (int y = 0; y < 4; ++y)
    v.Modify(CDS_Grid::Op::kSet, 0, y, "s" + std::to_string(y));
  v.ModifyFromGrid(CDS_Grid::Op::kAdd, v, 0, 0, 0, 2, 0, 1);  // downwards, strings appended
  EXPECT_EQ(v.Get(0, 1).str, "s1s0");
  EXPECT_EQ(v.Get(0, 2).str, "s2s1");
  EXPECT_EQ(v.Get(0, 3).str, "s3s2");
}

TEST(DSGrid, ResizeKeepsTheOverlap) {
  CDS_Grid g;
  ASSERT_TRUE(g.Resize(2, 2));
  g.Modify(CDS_Grid::Op::kSet, 1, 1, "keep");
  g.Modify(CDS_Grid::Op::kSet, 0, 1, 5.0);
  ASSERT_TRUE(g.Resize(3, 2));
  EXPECT_EQ(g.Get(1, 1).str, "keep");
  EXPECT_EQ(g.Get(0, 1).real, 5.0);
  EXPECT_EQ(g.Get(2, 1).real, 0.0);
  ASSERT_TRUE(g.Resize(1, 5));
  EXPECT_EQ(g.Get(0, 1).real, 5.0);
  EXPECT_EQ(g.Get(1, 1).real, 0.0);
  ASSERT_TRUE(g.Resize(-3, 4));
  EXPECT_EQ(g.Width(), 0);
  EXPECT_FALSE(g.Resize(100000, 100000));
  EXPECT_EQ(g.Height(), 4);
}

TEST(DSGrid, ShuffleDrawsXAndYOfBothCells) {
  CDS_Grid g;
  ASSERT_TRUE(g.Resize(2, 3));
  g.Modify(CDS_Grid::Op::kSet, 1, 0, "moved");
  ScriptedDraws d;
  d.script = {1, 0, 0, 2};  // swap (1, 0) with (0, 2)
  CDS_RandomSource r;
  r.draw = ScriptedDraws::Draw;
  r.context = &d;
  g.Shuffle(r);
  ASSERT_EQ(d.asked.size(), 2u * 3u * 8u * 4u);
  EXPECT_EQ(d.asked[0], 2u);
  EXPECT_EQ(d.asked[1], 3u);
  EXPECT_EQ(d.asked[2], 2u);
  EXPECT_EQ(d.asked[3], 3u);
  EXPECT_EQ(g.Get(0, 2).str, "moved");
  EXPECT_TRUE(g.Get(1, 0).IsReal());
}

// ---------------------------------------------------------------------------------------------

TEST(DSRead, RefusalsLeaveTheStructureAsItWas) {
  CDS_List l;
  l.Add(1.0);
  const std::string before = l.Write();
  EXPECT_EQ(l.Read(Cat({"65000000", "00000000"})), DSReadResult::kWrongKind);  // a stack
  EXPECT_EQ(l.Read("2D0100000100000G"), DSReadResult::kNotHex);
  EXPECT_EQ(l.Read(Cat({"2D010000", "02000000", kOne})), DSReadResult::kCorrupt);  // cut short
  EXPECT_EQ(l.Read(Cat({"2D010000", "FFFFFFFF"})), DSReadResult::kCorrupt);        // negative count
  EXPECT_EQ(l.Read(Cat({"2D010000", "FFFFFF7F", kOne})), DSReadResult::kCorrupt);  // huge
  EXPECT_EQ(l.Read(""), DSReadResult::kCorrupt);
  EXPECT_EQ(l.Write(), before);
  // Lower-case digits, a trailing odd digit and trailing bytes are accepted.
  ASSERT_EQ(l.Read(Cat({"2d010000", "01000000", kTwo, "00", "7"})), DSReadResult::kOk);
  EXPECT_EQ(Reals(l.Items()), (std::vector<double>{2}));
}

TEST(DSRead, GridRefusesSizesTheBytesCannotHold) {
  CDS_Grid g;
  EXPECT_EQ(g.Read(Cat({"59020000", "00000100", "00000100"})), DSReadResult::kCorrupt);
  EXPECT_EQ(g.Read(Cat({"59020000", "FFFFFFFF", "01000000"})), DSReadResult::kCorrupt);
  ASSERT_EQ(g.Read(Cat({"59020000", "03000000", "00000000"})), DSReadResult::kOk);
  EXPECT_EQ(g.Width(), 3);
  EXPECT_EQ(g.Height(), 0);
}

TEST(DSTable, LowestFreeIdIsReused) {
  CDS_Table<CDS_List> t;
  EXPECT_EQ(t.Create(std::make_unique<CDS_List>()), 0);
  EXPECT_EQ(t.Create(std::make_unique<CDS_List>()), 1);
  EXPECT_EQ(t.Create(std::make_unique<CDS_List>()), 2);
  EXPECT_TRUE(t.Destroy(1));
  EXPECT_TRUE(t.Destroy(0));
  EXPECT_FALSE(t.Destroy(0));
  EXPECT_EQ(t.Get(0), nullptr);
  EXPECT_EQ(t.Create(std::make_unique<CDS_List>()), 0);
  EXPECT_EQ(t.Create(std::make_unique<CDS_List>()), 1);
  EXPECT_EQ(t.Create(std::make_unique<CDS_List>()), 3);
  EXPECT_EQ(t.Get(-1), nullptr);
  EXPECT_EQ(t.Get(4), nullptr);
}

}  // namespace
}  // namespace zorvex
