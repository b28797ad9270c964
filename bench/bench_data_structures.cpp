// Data structures at the sizes games push them to: a million map entries, a million
// priority-queue insert/delete-min pairs, a 1000 x 1000 grid.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "data_structures/Support_Data_Structures.h"

namespace zorvex {
namespace {

constexpr int kMillion = 1000000;

std::vector<double> ShuffledKeys(int n) {
  std::vector<double> keys(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) keys[static_cast<size_t>(i)] = i;
  std::shuffle(keys.begin(), keys.end(), std::mt19937(1));
  return keys;
}

// 1M inserts in random key order, then 1M lookups.
void BM_MapInsertThenLookupRandom(benchmark::State& state) {
  const std::vector<double> keys = ShuffledKeys(kMillion);
  for (auto _ : state) {
    CDS_Map m;
    for (double k : keys) m.Add(k, k, kDefaultDSPrecision);
    double sum = 0;
    for (double k : keys) sum += m.FindValue(k, kDefaultDSPrecision)->real;
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * 2 * kMillion);
}
BENCHMARK(BM_MapInsertThenLookupRandom)->Unit(benchmark::kMillisecond)->Iterations(3);

// Keys added in ascending order, the most common pattern (ids, frame numbers).
void BM_MapInsertThenLookupAscending(benchmark::State& state) {
  for (auto _ : state) {
    CDS_Map m;
    for (int k = 0; k < kMillion; ++k) m.Add(static_cast<double>(k), k, kDefaultDSPrecision);
    double sum = 0;
    for (int k = 0; k < kMillion; ++k)
      sum += m.FindValue(static_cast<double>(k), kDefaultDSPrecision)->real;
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * 2 * kMillion);
}
BENCHMARK(BM_MapInsertThenLookupAscending)->Unit(benchmark::kMillisecond)->Iterations(3);

// String keys, as in save-game dictionaries.
void BM_MapStringKeys(benchmark::State& state) {
  const int n = 200000;
  std::vector<RValue> keys;
  for (double k : ShuffledKeys(n)) keys.emplace_back("key_" + std::to_string(static_cast<int>(k)));
  for (auto _ : state) {
    CDS_Map m;
    for (const RValue& k : keys) m.Add(k, 1.0, kDefaultDSPrecision);
    double sum = 0;
    for (const RValue& k : keys) sum += m.FindValue(k, kDefaultDSPrecision)->real;
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * 2 * n);
}
BENCHMARK(BM_MapStringKeys)->Unit(benchmark::kMillisecond)->Iterations(3);

// 1M pairs of insert and delete-min on a queue that holds 10000 entries throughout.
void BM_PriorityInsertDeleteMinPairs(benchmark::State& state) {
  std::mt19937 rng(2);
  std::uniform_real_distribution<double> prio(0.0, 1000.0);
  for (auto _ : state) {
    CDS_Priority p;
    for (int i = 0; i < 10000; ++i) p.Add(static_cast<double>(i), prio(rng));
    double sum = 0;
    for (int i = 0; i < kMillion; ++i) {
      p.Add(static_cast<double>(i), prio(rng));
      sum += p.TakeAt(p.MinIndex(kDefaultDSPrecision)).real;
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kMillion);
}
BENCHMARK(BM_PriorityInsertDeleteMinPairs)->Unit(benchmark::kMillisecond)->Iterations(3);

// 1M inserts, then 1M delete-mins until empty.
void BM_PriorityFillThenDrain(benchmark::State& state) {
  std::mt19937 rng(3);
  std::uniform_real_distribution<double> prio(0.0, 1000.0);
  for (auto _ : state) {
    CDS_Priority p;
    for (int i = 0; i < kMillion; ++i) p.Add(static_cast<double>(i), prio(rng));
    double sum = 0;
    while (p.Size() > 0) sum += p.TakeAt(p.MinIndex(kDefaultDSPrecision)).real;
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * 2 * kMillion);
}
BENCHMARK(BM_PriorityFillThenDrain)->Unit(benchmark::kMillisecond)->Iterations(3);

// Integer priorities with many ties (path finding on a grid).
void BM_PriorityManyTies(benchmark::State& state) {
  std::mt19937 rng(4);
  for (auto _ : state) {
    CDS_Priority p;
    for (int i = 0; i < 10000; ++i) p.Add(static_cast<double>(i), static_cast<double>(rng() % 16));
    double sum = 0;
    for (int i = 0; i < kMillion; ++i) {
      p.Add(static_cast<double>(i), static_cast<double>(rng() % 16));
      sum += p.TakeAt(p.MinIndex(kDefaultDSPrecision)).real;
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kMillion);
}
BENCHMARK(BM_PriorityManyTies)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_GridRegionSum1000(benchmark::State& state) {
  CDS_Grid g;
  g.Resize(1000, 1000);
  g.ModifyDisk(CDS_Grid::Op::kSet, 500, 500, 400, 1.5);
  for (auto _ : state) benchmark::DoNotOptimize(g.RegionStats(0, 0, 999, 999).sum);
  state.SetItemsProcessed(state.iterations() * 1000 * 1000);
}
BENCHMARK(BM_GridRegionSum1000)->Unit(benchmark::kMillisecond);

void BM_GridDiskSum(benchmark::State& state) {
  CDS_Grid g;
  g.Resize(1000, 1000);
  g.ClearTo(1.0);
  for (auto _ : state) benchmark::DoNotOptimize(g.DiskStats(500, 500, 400).sum);
}
BENCHMARK(BM_GridDiskSum)->Unit(benchmark::kMillisecond);

void BM_ListSort(benchmark::State& state) {
  std::mt19937 rng(5);
  std::uniform_real_distribution<double> value(0.0, 1.0);
  CDS_List base;
  for (int i = 0; i < 100000; ++i) base.Add(value(rng));
  for (auto _ : state) {
    CDS_List l = base;
    l.Sort(true, kDefaultDSPrecision);
    benchmark::DoNotOptimize(l.Size());
  }
}
BENCHMARK(BM_ListSort)->Unit(benchmark::kMillisecond);

// A precision wider than the gaps between values chains the whole list together.
void BM_ListSortLongChain(benchmark::State& state) {
  std::mt19937 rng(6);
  std::uniform_real_distribution<double> value(0.0, 100.0);
  CDS_List base;
  for (int i = 0; i < 100000; ++i) base.Add(value(rng));
  for (auto _ : state) {
    CDS_List l = base;
    l.Sort(true, 0.01);
    benchmark::DoNotOptimize(l.Size());
  }
}
BENCHMARK(BM_ListSortLongChain)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zorvex
