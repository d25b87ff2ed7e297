#pragma once

#include <cstdint>

#include "core/omitidas.h"

namespace tolvar {

// The counts of the drawing converted last: the entities of each kind its main loop met (a
// POINT without Z is counted though not written), and what it passed over.
struct contadores {
  std::int32_t cont_polyline = 0;
  std::int32_t cont_point = 0;
  std::int32_t cont_text = 0;
  std::int32_t cont_triang = 0;
  // Only the kinds asked for are read and counted here; the others are among the omitidas.
  std::int32_t cont_lwpolyline = 0;
  std::int32_t cont_line = 0;
  std::int32_t cont_mtext = 0;
  std::int32_t cont_insert = 0;
  std::int32_t cont_circle = 0;
  std::int32_t cont_arc = 0;
  std::int32_t cont_ellipse = 0;
  std::int32_t cont_3dface = 0;
  std::int32_t cont_solid = 0;
  std::int32_t cont_trace = 0;
  std::int32_t cont_spline = 0;
  std::int32_t cont_hatch = 0;
  std::int32_t cont_leader = 0;
  // With --blocks; an INSERT is counted in cont_insert then too.
  std::int32_t cont_dimension = 0;
  entidades_omitidas omitidas;
};

}  // namespace tolvar
