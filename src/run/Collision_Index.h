// A spatial index over the instance lists of a running room, so that the collision pass and the
// collision queries look only at instances whose boxes come near the shape they test, and still
// visit them in list order.
//
// One grid per list that has been asked about (the active list, an object's exact list, an
// object's family list): list positions hashed into square cells by their bounding boxes. The
// grids follow the room without being told by the room code: appended instances are picked up
// at the next query, any other change of the lists (CInstanceLists::Version) rebuilds, and every
// box change is logged by the instances themselves (CBoxWatch) and applied to the grids before
// they answer. So a query always sees the boxes as they are now, whatever events did meanwhile.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "resources/Graphics_Bitmap32.h"
#include "run/Instance_Class.h"

namespace zorvex {

class CInstanceLists;

enum class EInstanceList : uint8_t { kActive, kExact, kFamily };

class CCollisionIndex final : public CBoxWatch {
 public:
  explicit CCollisionIndex(CInstanceLists& lists);
  ~CCollisionIndex();
  CCollisionIndex(const CCollisionIndex&) = delete;
  CCollisionIndex& operator=(const CCollisionIndex&) = delete;

  // The positions p (from <= p < limit) of the list whose instances' boxes overlap the
  // rectangle r (integer, edges included), in ascending order. Instances without a shape are
  // never among them. `object` names the list for kExact and kFamily. `out` is reused, so a
  // warm index allocates nothing.
  void Candidates(EInstanceList list, int32_t object, const CRect& r, int from, int limit,
                  std::vector<int32_t>& out);

  void BoxChanged(const CInstance& inst) override;

  // Candidate buffers, kept warm: the collision pass holds its own while events run queries.
  std::vector<int32_t> pass_candidates;
  std::vector<int32_t> query_candidates;

 private:
  struct Grid;

  Grid& GridFor(EInstanceList list, int32_t object);
  const std::vector<CInstance*>& ListOf(EInstanceList list, int32_t object) const;
  void Sync(Grid& g, const std::vector<CInstance*>& list);
  void Build(Grid& g, const std::vector<CInstance*>& list);
  void Append(Grid& g, const std::vector<CInstance*>& list);
  void TrimLog();

  CInstanceLists* lists_;
  std::unique_ptr<Grid> active_;
  std::vector<std::unique_ptr<Grid>> exact_;
  std::vector<std::unique_ptr<Grid>> family_;
  std::vector<Grid*> grids_;  // all of the above that exist
  // Instances whose boxes changed, in order; each grid remembers how far it has applied it.
  std::vector<const CInstance*> log_;
};

}  // namespace zorvex
