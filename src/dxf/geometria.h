#pragma once

// The geometry that turns curves into points and an entity's own plane into the world. Other
// programs compute the same points from the same drawings, so every formula here is evaluated
// as written, operation by operation, in IEEE doubles: no fused multiply-add (the build turns
// contraction off), no reordering, sin, cos, atan, atan2, fmod, sqrt and ceil of the C library.

#include <cstddef>
#include <cstdint>

namespace tolvar {

inline constexpr double pi = 3.141592653589793;
inline constexpr double dos_pi = 6.283185307179586;
inline constexpr double grado = 0.017453292519943295;   // pi / 180
inline constexpr double pi_cuartos = 0.7853981633974483;

// A record holds no more points than this; curves are drawn with fewer segments to fit.
inline constexpr double max_puntos_curvas = 5000.0;

struct punto_doble {
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
  friend bool operator==(const punto_doble&, const punto_doble&) = default;
};

// An entity's plane (its "object coordinate system"), from its extrusion direction N, groups
// 210, 220 and 230: the arbitrary axis algorithm of DXF.
class plano_objeto {
 public:
  // N = (0, 0, 1), the default: the plane is the world's and nothing is computed.
  plano_objeto() = default;
  // N exactly (0, 0, 1), or of length 0, moves nothing.
  plano_objeto(double nx, double ny, double nz);

  bool mueve() const noexcept { return mueve_; }
  // N normalised; (0, 0, 1) when N is the default or of length 0.
  const punto_doble& eje_z() const noexcept { return az_; }
  // The point of the plane in world coordinates; the point itself when nothing moves. Inline:
  // every point of a block is placed through one of these per INSERT.
  punto_doble al_mundo(const punto_doble& p) const noexcept {
    if (!mueve_) return p;
    return {p.x * ax_.x + p.y * ay_.x + p.z * az_.x,
            p.x * ax_.y + p.y * ay_.y + p.z * az_.y,
            p.x * ax_.z + p.y * ay_.z + p.z * az_.z};
  }

 private:
  bool mueve_ = false;
  punto_doble ax_{1.0, 0.0, 0.0};
  punto_doble ay_{0.0, 1.0, 0.0};
  punto_doble az_{0.0, 0.0, 1.0};
};

// The number of segments of a curve of sweep D > 0 radians and radius R (an ellipse's major
// radius) that stays within t of it: at least one per 45 degrees. A double, as computed; NaN
// and infinity included, which the callers bound (see cuenta_segura).
double segmentos_minimos(double barrido);
double segmentos(double barrido, double radio, double tolerancia);
// A count as an integer to loop on: 1 for NaN, at most 5000. Only a count that fits is ever
// used for points, so the bound never changes a result; NaN comes from angles that overflow,
// whose points are NaN and refused by the coordinate rule whatever the count.
std::int32_t cuenta_segura(double n);

// One curve of an entity, for cuenta_curvas.
struct curva {
  double barrido = 0.0;
  double radio = 0.0;
};

// The counts n[i] of an entity's curves with tolerance t: when the entity's points would be
// more than 5000 (`fijos`, plus n[i] + `extra` for each curve), t is doubled and every count
// computed again, until they fit or each is at its minimum. False when even the minimums do
// not fit; n then holds them.
bool cuenta_curvas(const curva* curvas, double* n, std::size_t num_curvas, double fijos,
                   double extra, double tolerancia);

// The arc of a polyline segment from (x1, y1) to (x2, y2) with bulge b: centre, radius, the
// angle of the first vertex and the signed sweep (negative: clockwise). Valid when b is not 0
// and the two vertices differ.
struct arco_comba {
  double cx = 0.0, cy = 0.0;
  double radio = 0.0;
  double inicio = 0.0;
  double barrido = 0.0;
};
arco_comba arco_de_comba(double x1, double y1, double x2, double y2, double comba);

}  // namespace tolvar
