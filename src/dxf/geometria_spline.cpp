#include "dxf/geometria_spline.h"

#include <cmath>

namespace tolvar {

bool spline_valido(std::int64_t grado_curva, std::size_t num_control, const double* nudos,
                   std::size_t num_nudos) noexcept {
  if (grado_curva < 1) return false;
  const auto p = static_cast<std::uint64_t>(grado_curva);
  const std::uint64_t n = num_control;
  // In this order, so that a degree near the top of its range overflows nothing.
  if (n < 1 || p > n - 1 || num_nudos != n + p + 1) return false;
  for (std::size_t i = 1; i < num_nudos; ++i) {
    if (nudos[i] < nudos[i - 1]) return false;
  }
  return nudos[p] < nudos[n];
}

bool spline_valido(const spline& s) noexcept {
  return spline_valido(s.grado, s.num_control, s.nudos, s.num_nudos);
}

bool pesos_racionales(const double* pesos, std::size_t num_pesos, std::size_t num_control) noexcept {
  if (num_pesos != num_control) return false;
  for (std::size_t i = 0; i < num_pesos; ++i) {
    if (!(pesos[i] > 0.0)) return false;
  }
  return true;
}

void tramos_spline(const spline& s, std::vector<tramo_spline>& tramos, std::vector<double>& normas) {
  tramos.clear();
  const auto p = static_cast<std::size_t>(s.grado);
  const std::size_t n = s.num_control;
  const punto_doble* P = s.control;
  const double* t = s.nudos;
  const double pd = static_cast<double>(p);
  // |A_i| for i = 0 ... n - 3. A V or an A of a span no curve has may divide by 0; none of
  // those is ever looked at, since the denominators of a non-empty span's own are above 0.
  normas.clear();
  if (p >= 2 && n >= 3) {
    const auto v_de = [&](std::size_t i) {
      const double d = t[i + p + 1] - t[i + 1];
      return punto_doble{(pd * (P[i + 1].x - P[i].x)) / d, (pd * (P[i + 1].y - P[i].y)) / d,
                         (pd * (P[i + 1].z - P[i].z)) / d};
    };
    punto_doble v = v_de(0);
    for (std::size_t i = 0; i + 3 <= n; ++i) {
      const punto_doble siguiente = v_de(i + 1);
      const double d = t[i + p + 1] - t[i + 2];
      const double ax = ((pd - 1.0) * (siguiente.x - v.x)) / d;
      const double ay = ((pd - 1.0) * (siguiente.y - v.y)) / d;
      const double az = ((pd - 1.0) * (siguiente.z - v.z)) / d;
      normas.push_back(std::sqrt(ax * ax + ay * ay + az * az));
      v = siguiente;
    }
  }
  for (std::size_t j = p; j < n; ++j) {
    if (!(t[j] < t[j + 1])) continue;
    double m = 0.0;
    if (p >= 2) {
      // A NaN bound, from values that overflow, is passed over as std::max would.
      for (std::size_t i = j - p; i + 2 <= j; ++i) {
        if (normas[i] > m) m = normas[i];
      }
    }
    if (s.pesos != nullptr) {
      double mayor = s.pesos[j - p], menor = s.pesos[j - p];
      for (std::size_t i = j - p + 1; i <= j; ++i) {
        if (s.pesos[i] > mayor) mayor = s.pesos[i];
        if (s.pesos[i] < menor) menor = s.pesos[i];
      }
      m = m * (mayor / menor);
    }
    tramos.push_back({j, t[j + 1] - t[j], m});
  }
}

double pasos_tramo(double ancho, double cota, double tolerancia) {
  const double n = std::ceil(ancho * std::sqrt(cota / (8.0 * tolerancia)));
  return n > 1.0 ? n : 1.0;
}

bool cuenta_piezas(const pieza_curva* piezas, double* n, std::size_t num_piezas, double fijos,
                   double tolerancia) {
  for (double t = tolerancia;; t = t * 2.0) {
    double total = fijos;
    bool minimos = true;
    for (std::size_t i = 0; i < num_piezas; ++i) {
      const pieza_curva& c = piezas[i];
      if (c.es_tramo) {
        n[i] = pasos_tramo(c.a, c.b, t);
        if (n[i] > 1.0) minimos = false;
      } else {
        n[i] = segmentos(c.a, c.b, t);
        // A NaN minimum is a minimum too, so that the loop ends.
        if (n[i] > segmentos_minimos(c.a)) minimos = false;
      }
      total = total + n[i];
    }
    if (total <= max_puntos_curvas) return true;
    // Doubling t only lowers the counts, and an infinite t leaves each at its least.
    if (minimos) return false;
  }
}

punto_doble punto_spline(const spline& s, std::size_t j, double u, std::vector<punto_homogeneo>& d) {
  const auto p = static_cast<std::size_t>(s.grado);
  const double* t = s.nudos;
  // d[k] stands for the d[j - p + k] of de Boor's rule.
  const std::size_t base = j - p;
  d.resize(p + 1);
  for (std::size_t k = 0; k <= p; ++k) {
    const punto_doble& c = s.control[base + k];
    const double w = s.pesos != nullptr ? s.pesos[base + k] : 1.0;
    d[k] = {w * c.x, w * c.y, w * c.z, w};
  }
  for (std::size_t r = 1; r <= p; ++r) {
    for (std::size_t i = j; i >= base + r; --i) {
      const double a = (u - t[i]) / (t[i + p + 1 - r] - t[i]);
      punto_homogeneo& di = d[i - base];
      const punto_homogeneo& anterior = d[i - base - 1];
      di.x = ((1.0 - a) * anterior.x) + (a * di.x);
      di.y = ((1.0 - a) * anterior.y) + (a * di.y);
      di.z = ((1.0 - a) * anterior.z) + (a * di.z);
      di.w = ((1.0 - a) * anterior.w) + (a * di.w);
    }
  }
  const punto_homogeneo& q = d[p];
  return {q.x / q.w, q.y / q.w, q.z / q.w};
}

}  // namespace tolvar
