#pragma once

// B-splines as SPLINE entities and the spline edges of a HATCH give them: which are drawable,
// how many steps each knot span takes so that its chords stay within the tolerance, and the
// point at a parameter (de Boor). Like geometria.h, every formula is evaluated as written, in
// IEEE doubles and without fused multiply-add: other programs compute the same points.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "dxf/geometria.h"

namespace tolvar {

// A spline of degree p on n control points P[0..n-1] and k knots t[0..k-1]; with weights w,
// rational. Only views: the readers own the values.
struct spline {
  std::int64_t grado = 3;
  const punto_doble* control = nullptr;
  std::size_t num_control = 0;
  const double* nudos = nullptr;
  std::size_t num_nudos = 0;
  // n weights, or nullptr: every weight is 1.
  const double* pesos = nullptr;
};

// Drawable: p >= 1, n >= p + 1, k = n + p + 1, knots that never decrease and t[p] < t[n].
// Counts are passed apart from the values, so that a reader that stopped keeping values past
// a bound still judges the spline by what the drawing gave.
bool spline_valido(std::int64_t grado_curva, std::size_t num_control, const double* nudos,
                   std::size_t num_nudos) noexcept;
bool spline_valido(const spline& s) noexcept;

// Rational: exactly n weights, every one above 0.
bool pesos_racionales(const double* pesos, std::size_t num_pesos, std::size_t num_control) noexcept;

// A non-empty knot span [t[j], t[j+1]] of a valid spline and the bound M_j of the curve's
// second derivative on it (times the ratio of its largest weight to its smallest when rational).
struct tramo_spline {
  std::size_t j = 0;
  double ancho = 0.0;
  double cota = 0.0;
};

// The non-empty spans of a valid spline, in order, into `tramos` (cleared first); `normas` is
// room for |A_i|, one per second-derivative control point.
void tramos_spline(const spline& s, std::vector<tramo_spline>& tramos, std::vector<double>& normas);

// The steps of a span at tolerance t: max(1, ceil(width * sqrt(M / (8 t)))); 1 for NaN.
double pasos_tramo(double ancho, double cota, double tolerancia);

// One piece of a curve whose count the tolerance decides: an arc of sweep D and radius R
// (segmentos(), at least segmentos_minimos()), or a spline span (pasos_tramo(), at least 1).
struct pieza_curva {
  bool es_tramo = false;
  double a = 0.0;   // the sweep, or the span's width
  double b = 0.0;   // the radius, or the span's bound
};

// The counts n[i] of the pieces of one record at tolerance t: while `fijos` plus their sum
// exceeds 5000 and some count is above its least, t is doubled and all are counted again.
// False when they still exceed 5000 with every count at its least; n then holds the least.
bool cuenta_piezas(const pieza_curva* piezas, double* n, std::size_t num_piezas, double fijos,
                   double tolerancia);

// A point of homogeneous coordinates, the weight last: what de Boor's rule combines.
struct punto_homogeneo {
  double x = 0.0, y = 0.0, z = 0.0, w = 0.0;
};

// The point of a valid spline at u, evaluated in span j; `d` is room for p + 1 points.
punto_doble punto_spline(const spline& s, std::size_t j, double u, std::vector<punto_homogeneo>& d);

// The points of a valid spline, in order, to `punto`: m equal steps of each span (the span's
// count, `pasos[k]`, as cuenta_segura() bounds it), then the end t[n] in the last span.
template <class Punto>
void recorre_spline(const spline& s, const tramo_spline* tramos, const double* pasos,
                    std::size_t num_tramos, std::vector<punto_homogeneo>& d, Punto&& punto) {
  const double* t = s.nudos;
  for (std::size_t k = 0; k < num_tramos; ++k) {
    const std::size_t j = tramos[k].j;
    const double m = pasos[k];
    const std::int32_t num = cuenta_segura(m);
    for (std::int32_t i = 0; i < num; ++i) {
      const double u = t[j] + ((t[j + 1] - t[j]) * static_cast<double>(i)) / m;
      punto(punto_spline(s, j, u, d));
    }
  }
  if (num_tramos > 0) punto(punto_spline(s, tramos[num_tramos - 1].j, t[s.num_control], d));
}

}  // namespace tolvar
