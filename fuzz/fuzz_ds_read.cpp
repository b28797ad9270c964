// Feeds arbitrary strings to the read functions of every data-structure kind. A refused
// string must leave the structure exactly as it was; an accepted one must write back to a
// form that reads again to the same thing, and the structure must stay usable.
//
// First byte: bits 0-2 pick the kind, bit 7 passes the rest as the string itself (to reach
// the hexadecimal checks); otherwise the rest is hex-encoded first (to reach the records).
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "data_structures/Support_Data_Structures.h"

namespace zorvex {
namespace {

constexpr double kPrecision = kDefaultDSPrecision;

void Check(bool ok) {
  if (!ok) std::abort();
}

void Fill(CDS_Stack& s) {
  s.Push(1.0);
  s.Push("stack");
}
void Fill(CDS_Queue& q) {
  q.Enqueue("queue");
  q.Enqueue(2.0);
  q.Dequeue();
}
void Fill(CDS_List& l) {
  l.Add(3.0);
  l.Add("list");
}
void Fill(CDS_Map& m) {
  m.Add(4.0, "four", kPrecision);
  m.Add("key", 5.0, kPrecision);
}
void Fill(CDS_Priority& p) {
  p.Add("a", 2.0);
  p.Add("b", 1.0);
}
void Fill(CDS_Grid& g) {
  g.Resize(3, 2);
  g.Modify(CDS_Grid::Op::kSet, 1, 1, "grid");
}

// Operations on a structure that was just read, whatever it holds.
void Use(CDS_Stack& s) {
  s.Push(0.5);
  while (s.Size() > 0)
    s.Pop();
}
void Use(CDS_Queue& q) {
  q.Enqueue(0.5);
  for (int i = 0; i < 40 && q.Size() > 0; ++i)
    q.Dequeue();
  q.Enqueue("x");
}
void Use(CDS_List& l) {
  l.Sort(true, kPrecision);
  l.Sort(false, 0.0);
  l.FindIndex(1.0, kPrecision);
  CDS_RandomSource r;
  l.Shuffle(r);
}
void Use(CDS_Map& m) {
  RValue out;
  m.FindNext(0.0, kPrecision, out);
  m.FindPrevious("m", kPrecision, out);
  m.Add(1.0, 1.0, kPrecision);
  m.Add("k", 1.0, kPrecision);
  m.Delete(1.0, kPrecision);
  if (m.First(out)) m.Delete(out, kPrecision);
  Check(static_cast<int32_t>(m.Keys().size()) == m.Size());
}
void Use(CDS_Priority& p) {
  p.Add("z", 0.25);
  while (p.Size() > 0) {
    int32_t i = (p.Size() % 2) ? p.MinIndex(kPrecision) : p.MaxIndex(kPrecision);
    Check(i >= 0 && i < p.Size());
    p.TakeAt(i);
  }
}
void Use(CDS_Grid& g) {
  g.RegionStats(-1, -1, g.Width(), g.Height());
  g.DiskStats(1.5, 1.5, 2.0);
  g.Modify(CDS_Grid::Op::kAdd, 0, 0, "s");
  g.ModifyFromGrid(CDS_Grid::Op::kAdd, g, 0, 0, 3, 3, 1, 1);
  // A read may give a grid millions of columns wide but without rows; keep the work small.
  if (static_cast<int64_t>(g.Width()) * g.Height() <= 4096) {
    CDS_RandomSource r;
    g.Shuffle(r);
  }
  if (g.Width() <= 4096 && g.Height() <= 4096) g.Resize(g.Width() / 2, g.Height() + 1);
}

template <class T>
void Run(std::string_view hex) {
  T s;
  Fill(s);
  const std::string before = s.Write();
  if (s.Read(hex) != DSReadResult::kOk) {
    Check(s.Write() == before);
    return;
  }
  const std::string written = s.Write();
  T again;
  Check(again.Read(written) == DSReadResult::kOk);
  Check(again.Write() == written);
  Use(s);
  Use(again);
}

}  // namespace
}  // namespace zorvex

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zorvex;
  if (size == 0) return 0;
  const uint8_t selector = data[0];
  std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
  std::string hex;
  if (selector & 0x80) {
    hex.assign(rest);
  } else {
    static const char kDigits[] = "0123456789ABCDEF";
    for (unsigned char c : rest) {
      hex.push_back(kDigits[c >> 4]);
      hex.push_back(kDigits[c & 15]);
    }
  }
  switch (selector & 7) {
    case 0:
      Run<CDS_Stack>(hex);
      break;
    case 1:
      Run<CDS_Queue>(hex);
      break;
    case 2:
      Run<CDS_List>(hex);
      break;
    case 3:
      Run<CDS_Map>(hex);
      break;
    case 4:
      Run<CDS_Priority>(hex);
      break;
    default:
      Run<CDS_Grid>(hex);
      break;
  }
  return 0;
}
