// SPLINE, read on request: the B-spline through its control points drawn as an open polyline
// whose chords stay within the tolerance; without control points, its fit points joined.
#include "core/conversor.h"
#include "core/error_conversion.h"
#include "core/lector_grupos.h"
#include "dxf/lectura.h"

namespace tolvar {
namespace {

constexpr int grupo_grado = 71;
constexpr int grupo_nudo = 40;
constexpr int grupo_peso = 41;
// A spline's values are kept up to the most a drawable one may have: 4999 control points and
// weights, and n + p + 1 knots with p < n. Past these the spline is refused anyway; the
// values are still read as numbers, and counted.
constexpr std::size_t max_control = 4999;
constexpr std::size_t max_nudos = 2 * max_control;

}  // namespace

// In world coordinates. Its flags (70) are read as an integer and not used; its counts (72 to
// 74), tangents and tolerances are not read.
void conversor::ProcesaSpline() {
  tiene_capa_ = false;
  memoria_lectura& m = memoria();
  m.nudos.clear();
  m.control.clear();
  m.pesos.clear();
  m.ajuste.clear();
  std::int64_t grado_curva = 3;
  std::size_t num_nudos = 0, num_control = 0, num_pesos = 0, num_ajuste = 0;
  // The line of the 5001st fit point, reported only if no control point makes them unused.
  std::int64_t linea_ajuste_de_mas = 0;
  // What the 20 and 30 of a control point or the 21 and 31 of a fit point past the kept ones
  // go to: read, and let go.
  punto_doble control_de_mas;
  punto_leido ajuste_de_mas;
  const auto control = [&]() -> punto_doble& {
    return num_control <= max_control ? m.control.back() : control_de_mas;
  };
  const auto ajuste = [&]() -> punto_leido& {
    return num_ajuste <= static_cast<std::size_t>(max_puntos) ? m.ajuste.back() : ajuste_de_mas;
  };
  recorre_entidad("SPLINE", [&](const grupo& g) {
    switch (g.codigo) {
      case grupo_capa: capa(g); break;
      case grupo_indicadores: entero(g); break;
      case grupo_grado: grado_curva = entero(g); break;
      case grupo_nudo: {
        const double t = numero(g);
        if (++num_nudos <= max_nudos) m.nudos.push_back(t);
        break;
      }
      case grupo_peso: {
        const double w = numero(g);
        if (++num_pesos <= max_control) m.pesos.push_back(w);
        break;
      }
      // Each 10 starts a control point and each 11 a fit point; a 20 or 30 (21 or 31)
      // before any is not even looked at.
      case grupo_x: {
        const double x = numero(g);
        if (++num_control <= max_control) m.control.emplace_back();
        control() = {x, 0.0, 0.0};
        break;
      }
      case grupo_y:
        if (num_control > 0) control().y = numero(g);
        break;
      case grupo_z:
        if (num_control > 0) control().z = numero(g);
        break;
      case grupo_x2:
        if (++num_ajuste <= static_cast<std::size_t>(max_puntos)) {
          m.ajuste.emplace_back();
        } else if (linea_ajuste_de_mas == 0) {
          linea_ajuste_de_mas = g.num_linea + 1;
        }
        ajuste() = {};
        lee_valor(g, ajuste().x);
        break;
      case grupo_y2:
        if (num_ajuste > 0) lee_valor(g, ajuste().y);
        break;
      case grupo_z2:
        if (num_ajuste > 0) lee_valor(g, ajuste().z);
        break;
      default: break;
    }
    return false;
  });

  if (num_control > 0) {
    if (num_control > max_control) {
      throw error_conversion(subindice_fuera_de_rango,
                             {"a SPLINE with more than 4999 control points",
                              "un SPLINE con más de 4999 puntos de control"},
                             lector_->fichero(), linea_entidad_);
    }
    if (num_nudos > max_nudos || !spline_valido(grado_curva, num_control, m.nudos.data(), num_nudos)) {
      throw error_conversion(subindice_fuera_de_rango,
                             {"a SPLINE whose degree, knots and control points make no curve",
                              "un SPLINE cuyos grado, nudos y puntos de control no forman una curva"},
                             lector_->fichero(), linea_entidad_);
    }
    const spline s{grado_curva, m.control.data(), num_control, m.nudos.data(), num_nudos,
                   pesos_racionales(m.pesos.data(), num_pesos, num_control) ? m.pesos.data() : nullptr};
    tramos_spline(s, m.tramos, m.normas);
    m.piezas.clear();
    for (const tramo_spline& tramo : m.tramos) m.piezas.push_back({true, tramo.ancho, tramo.cota});
    m.cuentas_piezas.resize(m.piezas.size());
    // Every span can take a single step, and a valid spline has fewer than 5000 of them: the
    // counts always fit, and e_.puntos holds every point.
    cuenta_piezas(m.piezas.data(), m.cuentas_piezas.data(), m.piezas.size(), 1.0, tolerancia());
    std::int32_t n = 0;
    recorre_spline(s, m.tramos.data(), m.cuentas_piezas.data(), m.tramos.size(), m.de_boor,
                   [&](const punto_doble& p) { e_.puntos[static_cast<std::size_t>(++n)] = escala_calculado(p); });
    e_.num_puntos = n;
  } else if (num_ajuste > 0) {
    if (num_ajuste > static_cast<std::size_t>(max_puntos)) {
      throw error_conversion(subindice_fuera_de_rango,
                             {"a SPLINE with more than 5000 fit points",
                              "un SPLINE con más de 5000 puntos de ajuste"},
                             lector_->fichero(), linea_ajuste_de_mas);
    }
    const plano_objeto mundo;
    for (std::size_t i = 0; i < num_ajuste; ++i) e_.puntos[i + 1] = escala_punto(m.ajuste[i], mundo);
    e_.num_puntos = static_cast<std::int32_t>(num_ajuste);
  } else {
    // Nothing to draw: no record, and no layer to look up for it.
    return;
  }
  e_.elem_cerrado = false;
  clasifica_sin_capa();
  GrabaEntidad();
}

}  // namespace tolvar
