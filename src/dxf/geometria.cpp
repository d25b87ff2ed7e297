#include "dxf/geometria.h"

#include <cmath>

namespace tolvar {
namespace {

// Below this, both in x and in y, the normal is taken as nearly the world's Z axis (1/64).
constexpr double casi_vertical = 0.015625;

}  // namespace

plano_objeto::plano_objeto(double nx, double ny, double nz) {
  if (nx == 0.0 && ny == 0.0 && nz == 1.0) return;
  const double l = std::sqrt(nx * nx + ny * ny + nz * nz);
  if (l == 0.0) return;
  mueve_ = true;
  az_ = {nx / l, ny / l, nz / l};
  punto_doble ax = std::fabs(az_.x) < casi_vertical && std::fabs(az_.y) < casi_vertical
                       ? punto_doble{az_.z, 0.0, -az_.x}
                       : punto_doble{-az_.y, az_.x, 0.0};
  const double la = std::sqrt(ax.x * ax.x + ax.y * ax.y + ax.z * ax.z);
  ax_ = {ax.x / la, ax.y / la, ax.z / la};
  // Not normalised again: the other implementations do not, and the last bits would differ.
  ay_ = {az_.y * ax_.z - az_.z * ax_.y, az_.z * ax_.x - az_.x * ax_.z, az_.x * ax_.y - az_.y * ax_.x};
}

double segmentos_minimos(double barrido) { return std::ceil(barrido / pi_cuartos); }

double segmentos(double barrido, double radio, double tolerancia) {
  const double n_min = segmentos_minimos(barrido);
  const double n_tol = radio > 0.0 ? std::ceil(barrido * std::sqrt(radio / (8.0 * tolerancia))) : 1.0;
  // Written so that a NaN n_tol (an infinite radius and tolerance) leaves n_min.
  return n_tol > n_min ? n_tol : n_min;
}

std::int32_t cuenta_segura(double n) {
  if (!(n >= 1.0)) return 1;
  if (n > max_puntos_curvas) return static_cast<std::int32_t>(max_puntos_curvas);
  return static_cast<std::int32_t>(n);
}

bool cuenta_curvas(const curva* curvas, double* n, std::size_t num_curvas, double fijos,
                   double extra, double tolerancia) {
  for (double t = tolerancia;; t = t * 2.0) {
    double total = fijos;
    bool minimos = true;
    for (std::size_t i = 0; i < num_curvas; ++i) {
      n[i] = segmentos(curvas[i].barrido, curvas[i].radio, t);
      total = total + (n[i] + extra);
      // A NaN minimum is a minimum too, so that the loop ends.
      if (n[i] > segmentos_minimos(curvas[i].barrido)) minimos = false;
    }
    if (total <= max_puntos_curvas) return true;
    // Doubling t only ever lowers the counts, and an infinite t leaves every one at its
    // minimum: the loop ends.
    if (minimos) return false;
  }
}

arco_comba arco_de_comba(double x1, double y1, double x2, double y2, double comba) {
  const double dx = x2 - x1;
  const double dy = y2 - y1;
  const double c = std::sqrt(dx * dx + dy * dy);
  const double k = (1.0 - comba * comba) / (4.0 * comba);
  arco_comba a;
  a.cx = (x1 + x2) / 2.0 - k * dy;
  a.cy = (y1 + y2) / 2.0 + k * dx;
  a.radio = c * (1.0 + comba * comba) / (4.0 * std::fabs(comba));
  a.barrido = 4.0 * std::atan(comba);
  a.inicio = std::atan2(y1 - a.cy, x1 - a.cx);
  return a;
}

}  // namespace tolvar
