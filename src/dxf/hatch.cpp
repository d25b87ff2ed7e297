// HATCH, read on request: each boundary path of the filled area written as a closed polyline.
// A HATCH's groups mean different things in each of its parts (a 10 is the elevation point,
// a vertex, a centre, a control point...), so they are read by the structure they follow, each
// group due in its turn, and not by their codes alone.
#include <cmath>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

#include "core/conversor.h"
#include "core/error_conversion.h"
#include "core/lector_grupos.h"
#include "dxf/lectura.h"

namespace tolvar {
namespace {

constexpr int grupo_num_caminos = 91;
constexpr int grupo_tipo_camino = 92;
constexpr int grupo_num_elementos = 93;   // a path's vertices or edges
constexpr int grupo_num_fuentes = 97;     // a path's source objects; a spline edge's fit points
constexpr int grupo_fuente = 330;
constexpr int grupo_tipo_borde = 72;      // in a polyline path: whether it has bulges
constexpr int grupo_sentido = 73;         // closed, anticlockwise or rational, by the part
constexpr int grupo_grado = 94;
constexpr int grupo_periodico = 74;
constexpr int grupo_num_nudos = 95;
constexpr int grupo_num_control = 96;
constexpr int grupo_nudo = 40;
constexpr int grupo_tangente_inicio = 12, grupo_tangente_inicio_y = 22;
constexpr int grupo_tangente_fin = 13, grupo_tangente_fin_y = 23;

// Bit 2 of a path's 92: its boundary is a polyline, not a chain of edges.
constexpr std::int32_t camino_polilinea = 2;
enum tipo_borde : std::int32_t { borde_linea = 1, borde_arco = 2, borde_elipse = 3, borde_spline = 4 };

// A spline edge's values are kept up to the most a drawable spline has, as a SPLINE's are.
constexpr std::int32_t max_control = 4999;
constexpr std::int32_t max_nudos = 2 * max_control;
// A HATCH writes nothing until every path is drawn, so all of its records are held, and each
// path is held whole until it is drawn: these bound what one can make the converter hold
// (some 20 MB). A path of more edges than this has more than 5000 points unless its edges are
// empty.
constexpr std::size_t max_bordes_camino = 10000;
constexpr std::size_t max_valores_camino = 500000;
constexpr std::size_t max_puntos_hatch = 1000000;

// An arc edge as drawn: centre, radius, start angle and sweep in radians.
struct arco_borde {
  double cx, cy, radio, a0, barrido;
  bool antihorario;
};

arco_borde arco_de(const double* v) {
  arco_borde a{v[0], v[1], std::fabs(v[2]), 0.0, 0.0, v[5] != 0.0};
  double grados = std::fmod(v[4] - v[3], 360.0);
  if (grados <= 0.0) grados = grados + 360.0;
  a.barrido = grados * grado;
  a.a0 = v[3] * grado;
  return a;
}

// An elliptic arc edge as drawn: centre, major axis end M, the minor axis m, the parameter it
// starts at and the sweep; R, the major radius, for its count.
struct elipse_borde {
  double cx, cy, mx, my, menor_x, menor_y, p0, barrido, radio;
  bool antihorario;
};

elipse_borde elipse_de(const double* v) {
  const double mx = v[2], my = v[3], q = v[4], inicio = v[5], fin = v[6];
  elipse_borde e{v[0], v[1], mx, my, 0.0, 0.0, 0.0, 0.0, 0.0, v[7] != 0.0};
  // Its 50 and 51 are angles from the major axis, not parameters of the ellipse.
  e.p0 = std::atan2(std::sin(inicio * grado) / q, std::cos(inicio * grado));
  const double p1 = std::atan2(std::sin(fin * grado) / q, std::cos(fin * grado));
  if (std::fmod(fin - inicio, 360.0) == 0.0) {
    e.barrido = dos_pi;
  } else {
    const double f = p1 - e.p0;
    e.barrido = f > 0.0 ? f : f + dos_pi;
  }
  e.radio = std::sqrt(mx * mx + my * my);
  // The plane's normal (0, 0, 1) across the major axis, as an ELLIPSE's minor axis is found.
  e.menor_x = (0.0 * 0.0 - 1.0 * my) * q;
  e.menor_y = (1.0 * mx - 0.0 * 0.0) * q;
  return e;
}

// Values of the path being read, kept until it is drawn.
void guarda(std::vector<double>& valores, std::initializer_list<double> nuevos,
            const camino_hatch& camino, const std::filesystem::path& fichero) {
  if (valores.size() + nuevos.size() > max_valores_camino) {
    throw error_conversion(subindice_fuera_de_rango,
                           {"a HATCH boundary path of more than 500,000 values",
                            "un camino de contorno de HATCH de más de 500.000 valores"},
                           fichero, camino.linea);
  }
  valores.insert(valores.end(), nuevos);
}

// A spline edge of the path, its values as lee_borde_hatch() keeps them: knots, then x, y and
// weight of each control point. Its control points and weights are copied out into `control`
// and `pesos`; rational when its 73 says so and every weight is above 0.
spline spline_de(const borde_hatch& b, const double* w, std::vector<punto_doble>& control,
                 std::vector<double>& pesos) {
  const auto k = static_cast<std::size_t>(b.num_nudos);
  const auto n = static_cast<std::size_t>(b.num_control);
  control.clear();
  pesos.clear();
  for (std::size_t i = 0; i < n; ++i) {
    const double* c = w + k + 3 * i;
    control.push_back({c[0], c[1], 0.0});
    pesos.push_back(c[2]);
  }
  const bool racional = b.racional && pesos_racionales(pesos.data(), n, n);
  return {b.grado, control.data(), n, w, k, racional ? pesos.data() : nullptr};
}

// The points of one record as they are computed: one equal to the point kept before it is
// left out. Up to 5001 are kept, one more than a record holds, since a last point equal to
// the first is dropped; past them only how many there were counts.
struct registro_hatch {
  std::vector<tipo_punto>& destino;
  std::size_t inicio;
  std::size_t guardados = 0;
  tipo_punto ultimo{};

  void anade(const tipo_punto& p) {
    if (guardados > 0 && p == ultimo) return;
    ultimo = p;
    if (++guardados <= static_cast<std::size_t>(max_puntos) + 1) destino.push_back(p);
  }
};

}  // namespace

const grupo& conversor::grupo_debido(int codigo) {
  const grupo& g = lector_->exige("HATCH");
  if (g.codigo != codigo) {
    const std::string hay = std::to_string(g.codigo), toca = std::to_string(codigo);
    throw error_conversion(subindice_fuera_de_rango,
                           {"group " + hay + " where a HATCH's group " + toca + " is due",
                            "grupo " + hay + " donde toca el grupo " + toca + " de un HATCH"},
                           lector_->fichero(), g.num_linea + 1);
  }
  return g;
}

std::int32_t conversor::cuenta_hatch(const grupo& g) {
  const std::int32_t n = entero(g);
  if (n < 0) {
    throw error_conversion(subindice_fuera_de_rango,
                           {"a negative count in a HATCH", "una cuenta negativa en un HATCH"},
                           lector_->fichero(), g.num_linea + 1);
  }
  return n;
}

void conversor::ProcesaHatch() {
  lector_grupos& lector = *lector_;
  tiene_capa_ = false;
  memoria_lectura& m = memoria();
  m.puntos_hatch.clear();
  m.tamanos_hatch.clear();
  normal_leida normal;
  double elevacion = 0.0;
  std::int32_t num_caminos = 0;
  // The header, up to the number of paths: of the elevation point only its z is used.
  for (;;) {
    const grupo& g = lector.exige("HATCH");
    if (g.codigo == 0) {
      lector.devuelve();
      return;
    }
    if (g.codigo == grupo_num_caminos) {
      num_caminos = cuenta_hatch(g);
      break;
    }
    switch (g.codigo) {
      case grupo_capa: capa(g); break;
      case grupo_z: elevacion = numero(g); break;
      default: lee_normal(g, normal); break;
    }
  }
  const plano_objeto plano = normal.plano();
  for (std::int32_t i = 0; i < num_caminos; ++i) {
    camino_hatch camino;
    lee_camino_hatch(camino);
    traza_camino_hatch(camino, plano, elevacion);
  }
  // The pattern, its seed points and a gradient follow: nothing of them is a boundary.
  for (;;) {
    if (lector.exige("HATCH").codigo == 0) {
      lector.devuelve();
      break;
    }
  }
  if (m.tamanos_hatch.empty()) return;
  clasifica_sin_capa();
  std::size_t o = 0;
  for (const std::int32_t n : m.tamanos_hatch) {
    for (std::int32_t i = 1; i <= n; ++i) e_.puntos[static_cast<std::size_t>(i)] = m.puntos_hatch[o++];
    e_.num_puntos = n;
    e_.elem_cerrado = true;
    GrabaEntidad();
  }
}

void conversor::lee_camino_hatch(camino_hatch& camino) {
  memoria_lectura& m = memoria();
  m.valores.clear();
  m.bordes.clear();
  {
    const grupo& g = grupo_debido(grupo_tipo_camino);
    camino.linea = g.num_linea + 1;
    camino.polilinea = (entero(g) & camino_polilinea) != 0;
  }
  if (camino.polilinea) {
    camino.combas = entero(grupo_debido(grupo_tipo_borde)) != 0;
    grupo_debido(grupo_sentido);  // closed or not, a boundary always closes
    camino.num_vertices = cuenta_hatch(grupo_debido(grupo_num_elementos));
    for (std::int32_t i = 0; i < camino.num_vertices; ++i) {
      const double x = numero(grupo_debido(grupo_x));
      const double y = numero(grupo_debido(grupo_y));
      double comba = 0.0;
      if (camino.combas) {
        const grupo& g = grupo_debido(grupo_comba);
        // Without arcs drawn a bulge is not even looked at, as an LWPOLYLINE's.
        if (opciones_.arcos) comba = numero(g);
      }
      guarda(m.valores, {x, y, comba}, camino, lector_->fichero());
    }
  } else {
    const std::int32_t num_bordes = cuenta_hatch(grupo_debido(grupo_num_elementos));
    for (std::int32_t i = 0; i < num_bordes; ++i) lee_borde_hatch(camino, i + 1 == num_bordes);
  }
  const std::int32_t fuentes = camino.fuentes_leidas ? camino.fuentes : cuenta_hatch(grupo_debido(grupo_num_fuentes));
  for (std::int32_t i = 0; i < fuentes; ++i) grupo_debido(grupo_fuente);
}

void conversor::lee_borde_hatch(camino_hatch& camino, bool ultimo) {
  memoria_lectura& m = memoria();
  if (m.bordes.size() >= max_bordes_camino) {
    throw error_conversion(subindice_fuera_de_rango,
                           {"a HATCH boundary path of more than 10,000 edges",
                            "un camino de contorno de HATCH de más de 10.000 bordes"},
                           lector_->fichero(), camino.linea);
  }
  borde_hatch b;
  {
    const grupo& g = grupo_debido(grupo_tipo_borde);
    b.linea = g.num_linea + 1;
    b.tipo = entero(g);
  }
  b.inicio = m.valores.size();
  const auto valor = [&](int codigo) {
    guarda(m.valores, {numero(grupo_debido(codigo))}, camino, lector_->fichero());
  };
  // An arc's or an elliptic arc's direction may be left out: anticlockwise.
  const auto sentido = [&] {
    const grupo& g = lector_->exige("HATCH");
    bool antihorario = true;
    if (g.codigo == grupo_sentido) {
      antihorario = entero(g) != 0;
    } else {
      lector_->devuelve();
    }
    guarda(m.valores, {antihorario ? 1.0 : 0.0}, camino, lector_->fichero());
  };
  switch (b.tipo) {
    case borde_linea:
      for (const int codigo : {grupo_x, grupo_y, grupo_x2, grupo_y2}) valor(codigo);
      break;
    case borde_arco:
      for (const int codigo : {grupo_x, grupo_y, grupo_radio, grupo_angulo_inicio, grupo_angulo_fin})
        valor(codigo);
      sentido();
      break;
    case borde_elipse:
      for (const int codigo : {grupo_x, grupo_y, grupo_x2, grupo_y2, grupo_radio, grupo_angulo_inicio,
                               grupo_angulo_fin})
        valor(codigo);
      sentido();
      break;
    case borde_spline: {
      b.grado = entero(grupo_debido(grupo_grado));
      b.racional = entero(grupo_debido(grupo_sentido)) != 0;
      grupo_debido(grupo_periodico);
      b.num_nudos = cuenta_hatch(grupo_debido(grupo_num_nudos));
      b.num_control = cuenta_hatch(grupo_debido(grupo_num_control));
      // Past these the edge is refused when drawn; its values are still read as numbers.
      const bool guardados = b.num_nudos <= max_nudos && b.num_control <= max_control;
      for (std::int32_t i = 0; i < b.num_nudos; ++i) {
        const double t = numero(grupo_debido(grupo_nudo));
        if (guardados) guarda(m.valores, {t}, camino, lector_->fichero());
      }
      for (std::int32_t i = 0; i < b.num_control; ++i) {
        const double x = numero(grupo_debido(grupo_x));
        const double y = numero(grupo_debido(grupo_y));
        const double w = b.racional ? numero(grupo_debido(grupo_comba)) : 1.0;
        if (guardados) guarda(m.valores, {x, y, w}, camino, lector_->fichero());
      }
      // Fit data, written by files since R2010. After the path's last edge a 97 may be the
      // path's own instead: it is the edge's only when fit data follows it.
      const grupo& g = lector_->exige("HATCH");
      bool del_borde = g.codigo == grupo_num_fuentes;
      if (del_borde) {
        const std::int32_t n = cuenta_hatch(g);
        if (ultimo) {
          const int siguiente = lector_->exige("HATCH").codigo;
          lector_->devuelve();
          del_borde = siguiente == grupo_x2 || siguiente == grupo_tangente_inicio ||
                      siguiente == grupo_tangente_fin || siguiente == grupo_num_fuentes;
        }
        if (del_borde) {
          b.num_ajuste = n;
          b.inicio_ajuste = m.valores.size();
          for (std::int32_t i = 0; i < n; ++i) {
            const double x = numero(grupo_debido(grupo_x2));
            const double y = numero(grupo_debido(grupo_y2));
            // Joined only when there are no control points to draw the curve by.
            if (b.num_control == 0) guarda(m.valores, {x, y}, camino, lector_->fichero());
          }
        } else {
          camino.fuentes_leidas = true;
          camino.fuentes = n;
        }
      } else {
        lector_->devuelve();
      }
      if (!camino.fuentes_leidas) {
        // The tangents at either end, not read.
        const int tangentes[][2] = {{grupo_tangente_inicio, grupo_tangente_inicio_y},
                                    {grupo_tangente_fin, grupo_tangente_fin_y}};
        for (const auto& t : tangentes) {
          if (lector_->exige("HATCH").codigo == t[0]) {
            grupo_debido(t[1]);
          } else {
            lector_->devuelve();
          }
        }
      }
      break;
    }
    default: {
      const std::string n = std::to_string(b.tipo);
      throw error_conversion(subindice_fuera_de_rango,
                             {"a HATCH edge of type " + n + ", none of 1 to 4",
                              "un borde de HATCH de tipo " + n + ", ninguno de 1 a 4"},
                             lector_->fichero(), b.linea);
    }
  }
  m.bordes.push_back(b);
}

void conversor::traza_camino_hatch(const camino_hatch& camino, const plano_objeto& plano,
                                   double elevacion) {
  memoria_lectura& m = memoria();
  registro_hatch r{m.puntos_hatch, m.puntos_hatch.size()};
  const auto punto = [&](double x, double y) {
    r.anade(escala_calculado(plano.al_mundo({x, y, elevacion})));
  };
  const double* v = m.valores.data();
  if (camino.polilinea) {
    const std::int32_t n = camino.num_vertices;
    if (opciones_.arcos && camino.combas && n <= max_puntos) {
      // The bulge rule of polylines, the last vertex's bending the closing segment, on the
      // vertices computed and scaled first.
      for (std::int32_t i = 1; i <= n; ++i) {
        const double* w = v + 3 * static_cast<std::size_t>(i - 1);
        vertice_leido& vertice = m.vertice(static_cast<std::size_t>(i));
        vertice = {};
        vertice.p.x.v = w[0];
        vertice.p.y.v = w[1];
        vertice.p.z.v = elevacion;
        vertice.comba = w[2];
        e_.puntos[static_cast<std::size_t>(i)] = escala_calculado(plano.al_mundo({w[0], w[1], elevacion}));
      }
      e_.num_puntos = n;
      e_.elem_cerrado = true;
      traza_arcos(n, plano);
      for (std::int32_t i = 1; i <= e_.num_puntos; ++i) r.anade(e_.puntos[static_cast<std::size_t>(i)]);
    } else {
      // More vertices than a record holds leave no room for any arc: all stay chords.
      for (std::size_t i = 0; i < static_cast<std::size_t>(n); ++i) punto(v[3 * i], v[3 * i + 1]);
    }
  } else {
    // Each spline edge is judged in its turn, then the counts of all the path's curves are
    // fitted together.
    m.piezas.clear();
    m.tramos.clear();
    double fijos = 0.0;
    for (borde_hatch& b : m.bordes) {
      const double* w = v + b.inicio;
      switch (b.tipo) {
        case borde_linea: fijos = fijos + 2.0; break;
        case borde_arco: {
          const arco_borde a = arco_de(w);
          m.piezas.push_back({false, a.barrido, a.radio});
          fijos = fijos + 1.0;
          break;
        }
        case borde_elipse: {
          const elipse_borde e = elipse_de(w);
          m.piezas.push_back({false, e.barrido, e.radio});
          fijos = fijos + 1.0;
          break;
        }
        default:
          if (b.num_control == 0) {
            fijos = fijos + static_cast<double>(b.num_ajuste);
            break;
          }
          if (b.num_nudos > max_nudos || b.num_control > max_control ||
              !spline_valido(b.grado, static_cast<std::size_t>(b.num_control), w,
                             static_cast<std::size_t>(b.num_nudos))) {
            throw error_conversion(subindice_fuera_de_rango,
                                   {"a HATCH spline edge whose degree, knots and control points make no curve",
                                    "un borde spline de HATCH cuyos grado, nudos y puntos de control no forman una curva"},
                                   lector_->fichero(), b.linea);
          }
          const spline s = spline_de(b, w, m.control, m.pesos);
          tramos_spline(s, m.tramos_borde, m.normas);
          b.num_tramos = m.tramos_borde.size();
          for (const tramo_spline& t : m.tramos_borde) {
            m.tramos.push_back(t);
            m.piezas.push_back({true, t.ancho, t.cota});
          }
          fijos = fijos + 1.0;
          break;
      }
    }
    m.cuentas_piezas.resize(m.piezas.size());
    cuenta_piezas(m.piezas.data(), m.cuentas_piezas.data(), m.piezas.size(), fijos, tolerancia());
    std::size_t pieza = 0, tramo = 0;
    for (const borde_hatch& b : m.bordes) {
      const double* w = v + b.inicio;
      switch (b.tipo) {
        case borde_linea:
          punto(w[0], w[1]);
          punto(w[2], w[3]);
          break;
        case borde_arco: {
          const arco_borde a = arco_de(w);
          const double n = m.cuentas_piezas[pieza++];
          const std::int32_t num = cuenta_segura(n);
          for (std::int32_t i = 0; i <= num; ++i) {
            const double t = a.a0 + (a.barrido * static_cast<double>(i)) / n;
            // CAD programs keep a clockwise arc's angles as 360 less the angle: it runs
            // clockwise from -S to -E.
            if (a.antihorario) {
              punto(a.cx + a.radio * std::cos(t), a.cy + a.radio * std::sin(t));
            } else {
              punto(a.cx + a.radio * std::cos(t), a.cy - a.radio * std::sin(t));
            }
          }
          break;
        }
        case borde_elipse: {
          const elipse_borde e = elipse_de(w);
          const double n = m.cuentas_piezas[pieza++];
          const std::int32_t num = cuenta_segura(n);
          for (std::int32_t i = 0; i <= num; ++i) {
            const double t = e.p0 + (e.barrido * static_cast<double>(i)) / n;
            const double c = std::cos(t), s = std::sin(t);
            if (e.antihorario) {
              punto(e.cx + e.mx * c + e.menor_x * s, e.cy + e.my * c + e.menor_y * s);
            } else {
              punto(e.cx + e.mx * c - e.menor_x * s, e.cy + e.my * c - e.menor_y * s);
            }
          }
          break;
        }
        default:
          if (b.num_control == 0) {
            const double* a = v + b.inicio_ajuste;
            for (std::size_t i = 0; i < static_cast<std::size_t>(b.num_ajuste); ++i) punto(a[2 * i], a[2 * i + 1]);
            break;
          }
          recorre_spline(spline_de(b, w, m.control, m.pesos), m.tramos.data() + tramo,
                         m.cuentas_piezas.data() + pieza, b.num_tramos, m.de_boor,
                         [&](const punto_doble& p) { punto(p.x, p.y); });
          tramo += b.num_tramos;
          pieza += b.num_tramos;
          break;
      }
    }
  }

  std::size_t n = r.guardados;
  // The record is closed: a last point where it started is its closing unit.
  if (n > 1 && r.ultimo == m.puntos_hatch[r.inicio]) --n;
  if (n > static_cast<std::size_t>(max_puntos)) {
    throw error_conversion(subindice_fuera_de_rango,
                           {"a HATCH boundary path of more than 5000 points",
                            "un camino de contorno de HATCH de más de 5000 puntos"},
                           lector_->fichero(), camino.linea);
  }
  m.puntos_hatch.resize(r.inicio + n);
  if (m.puntos_hatch.size() > max_puntos_hatch) {
    throw error_conversion(subindice_fuera_de_rango,
                           {"a HATCH whose paths have more than 1,000,000 points",
                            "un HATCH cuyos caminos tienen más de 1.000.000 de puntos"},
                           lector_->fichero(), camino.linea);
  }
  if (n > 0) m.tamanos_hatch.push_back(static_cast<std::int32_t>(n));
}

}  // namespace tolvar
