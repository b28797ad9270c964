#include "resources/TimeLine_Class.h"

#include <algorithm>

#include "resources/Resource_Read.h"

namespace zorvex {

namespace {

size_t FirstAtLeast(const std::vector<CMoment>& m, double position) {
  return static_cast<size_t>(
      std::lower_bound(m.begin(), m.end(), position,
                       [](const CMoment& x, double p) { return x.step < p; }) -
      m.begin());
}

}  // namespace

bool CTimeLine::ReadFrom(CStream& s) {
  Clear();
  if (s.ReadInt() != kRecordVersion) return false;
  int32_t count;
  // A moment is at least its step and an empty event record.
  if (!ReadCount(s, 12, count)) return false;
  moments.reserve(static_cast<size_t>(count));
  for (int32_t i = 0; i < count; ++i) {
    CMoment m;
    m.step = s.ReadInt();
    // Lookups search the steps in order.
    if (!moments.empty() && m.step <= moments.back().step) return false;
    m.event = std::make_unique<CEvent>();
    if (!m.event->ReadFrom(s)) return false;
    moments.push_back(std::move(m));
  }
  return true;
}

void CTimeLine::WriteTo(CStream& s) const {
  s.WriteInt(kRecordVersion);
  s.WriteInt(MomentCount());
  for (const CMoment& m : moments) {
    s.WriteInt(m.step);
    m.event->WriteTo(s);
  }
}

int32_t CTimeLine::FindMoment(int32_t step) const {
  size_t i = FirstAtLeast(moments, step);
  return i < moments.size() && moments[i].step == step ? static_cast<int32_t>(i) : -1;
}

int32_t CTimeLine::MomentIndexAt(double position) const {
  return static_cast<int32_t>(FirstAtLeast(moments, position));
}

CEvent* CTimeLine::AddMoment(int32_t step) {
  size_t i = FirstAtLeast(moments, step);
  if (i < moments.size() && moments[i].step == step) return moments[i].event.get();
  auto it = moments.insert(moments.begin() + static_cast<ptrdiff_t>(i),
                           CMoment{step, std::make_unique<CEvent>()});
  return it->event.get();
}

void CTimeLine::DeleteMoment(int32_t step) {
  int32_t i = FindMoment(step);
  if (i >= 0) moments.erase(moments.begin() + i);
}

void CTimeLine::ResolveFunctions(const FunctionResolver& find, std::vector<std::string>& missing) {
  for (CMoment& m : moments)
    m.event->ResolveFunctions(find, missing);
}

}  // namespace zorvex
