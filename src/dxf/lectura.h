#pragma once

// What the entity readers share: group codes, the group loop of one entity, coordinates and
// the layer (lectura.cpp).

#include <array>
#include <string_view>
#include <vector>

#include "core/conversor.h"
#include "core/error_conversion.h"
#include "core/lector_grupos.h"
#include "core/numeros.h"
#include "dxf/geometria.h"
#include "dxf/geometria_spline.h"

namespace tolvar {

inline constexpr int grupo_capa = 8;
inline constexpr int grupo_texto = 1;
inline constexpr int grupo_x = 10, grupo_y = 20, grupo_z = 30;
inline constexpr int grupo_altura = 40;
inline constexpr int grupo_indicadores = 70;
// A LINE's second point; an LWPOLYLINE's elevation, the z of all its vertices.
inline constexpr int grupo_x2 = 11, grupo_y2 = 21, grupo_z2 = 31;
inline constexpr int grupo_elevacion = 38;
// An MTEXT's text: pieces of 250 characters in groups 3, the rest in its group 1; newer files
// end it with an embedded object whose groups are not the text's.
inline constexpr int grupo_trozo_texto = 3;
inline constexpr int grupo_objeto_incrustado = 101;
// Curves: a radius (an ellipse's ratio), the angles of an arc, a vertex's bulge; an ellipse's
// parameters are its 41 and 42 too.
inline constexpr int grupo_radio = 40;
inline constexpr int grupo_angulo_inicio = 50, grupo_angulo_fin = 51;
inline constexpr int grupo_comba = 42;
inline constexpr int grupo_parametro_inicio = 41, grupo_parametro_fin = 42;
// The extrusion direction, the normal of an entity's plane.
inline constexpr int grupo_normal_x = 210, grupo_normal_y = 220, grupo_normal_z = 230;
// A polyface mesh's face record names its corners, the mesh vertices 1, 2, ..., in these.
inline constexpr int grupo_primera_esquina = 71, grupo_ultima_esquina = 74;
// Bits of a POLYLINE's group 70: 3D polyline, 3D polygon mesh, polyface mesh; of a VERTEX's:
// a vertex of a polyface mesh, which with the first and without the second is a face record.
inline constexpr std::int32_t polilinea_3d = 8, malla_poligonal = 16, malla_caras = 64;
inline constexpr std::int32_t vertice_malla_3d = 64, vertice_cara = 128;

// DXF's default layer: what an entity without a layer group of its own lies on.
inline constexpr std::string_view capa_por_defecto = "0";

// A value read as a number, and the line it stands on, for the error that names it; line 0:
// the entity did not give it, which in a record is 0 and in a computed point 0 drawing units.
struct valor_leido {
  double v = 0.0;
  std::int64_t linea = 0;
  bool dado() const noexcept { return linea != 0; }
};

struct punto_leido {
  valor_leido x, y, z;
  punto_doble doble() const noexcept { return {x.v, y.v, z.v}; }
};

struct vertice_leido {
  punto_leido p;
  double comba = 0.0;
};

// Groups 210, 220 and 230, as an entity gives them; DXF's default is (0, 0, 1).
struct normal_leida {
  double x = 0.0, y = 0.0, z = 1.0;
  plano_objeto plano() const { return plano_objeto(x, y, z); }
};

// One edge of a HATCH's edge path as read: its type, the line of its 72, where its values
// start among memoria_lectura::valores and, for a spline, what it gave and where its fit
// points start (knots kept before them when there are not too many).
struct borde_hatch {
  std::int32_t tipo = 0;
  std::int64_t linea = 0;
  std::size_t inicio = 0;
  std::size_t inicio_ajuste = 0;
  std::int32_t grado = 0;
  bool racional = false;
  std::int32_t num_nudos = 0, num_control = 0, num_ajuste = 0;
  std::size_t num_tramos = 0;   // its non-empty spans, once judged
};

// A boundary path of a HATCH while it is read: its kind, the line of its 92 (where its limits
// are reported), whether its vertices have bulges, how many it has; its edges and values are
// in memoria_lectura.
struct camino_hatch {
  bool polilinea = false;
  bool combas = false;
  std::int64_t linea = 0;
  std::int32_t num_vertices = 0;
  // The path's own 97, when the lookahead of a last spline edge read it.
  bool fuentes_leidas = false;
  std::int32_t fuentes = 0;
};

struct memoria_lectura {
  // A polyline's vertices, from index 1, as puntos: grown to the most an entity has had, not
  // made at their 5000 at once, which under the fuzzer's sanitizers cost a fifth of its time.
  std::vector<vertice_leido> vertices;
  vertice_leido& vertice(std::size_t n) {
    if (n >= vertices.size()) vertices.resize(n + 1);
    return vertices[n];
  }
  // The points of a mesh's vertices; what a polyline's arcs are drawn into, then swapped with
  // the entity's puntos, so as large as they are.
  std::vector<tipo_punto> puntos;
  std::vector<tipo_punto>& todos_los_puntos() {
    if (puntos.empty()) puntos.resize(max_puntos + 1);
    return puntos;
  }
  // The face records of a polyface mesh: its corners, 0 for none.
  std::vector<std::array<std::int32_t, 4>> caras;
  // A polyline's arcs: which vertex each follows, its geometry, its count.
  std::vector<std::int32_t> tras_vertice;
  std::vector<arco_comba> arcos;
  std::vector<curva> curvas;
  std::vector<double> cuentas;
  // A spline: its knots, control points and weights as read, its fit points; its spans, the
  // norms behind their bounds, the counts of its pieces, de Boor's working points.
  std::vector<double> nudos;
  std::vector<punto_doble> control;
  std::vector<double> pesos;
  std::vector<punto_leido> ajuste;
  std::vector<tramo_spline> tramos;
  std::vector<tramo_spline> tramos_borde;
  std::vector<double> normas;
  std::vector<pieza_curva> piezas;
  std::vector<double> cuentas_piezas;
  std::vector<punto_homogeneo> de_boor;
  // A HATCH: the path being read (its edges, and its values in the order read), then the
  // points of every record the HATCH will write, back to back, and how many each has.
  std::vector<borde_hatch> bordes;
  std::vector<double> valores;
  std::vector<tipo_punto> puntos_hatch;
  std::vector<std::int32_t> tamanos_hatch;
};

// The loop of a reader of one entity: each group of the entity goes to por_grupo(g), up to
// the group 0 that ends it, which goes back to the run loop. por_grupo returns true once the
// entity is whole: from then on the drawing may end without another group 0; until then its
// end is error 62 naming `entidad`. A template, so that each reader's switch is compiled into
// the loop as if written there. POLYLINE, whose group 0s (VERTEX, SEQEND) are its own, keeps
// a loop of its own, and so does the vertex, the hottest loop of a conversion. With
// valores_enteros, each group's value line comes whole in g.linea too.
template <bool valores_enteros, class PorGrupo>
void conversor::recorre_entidad(const char* entidad, PorGrupo&& por_grupo) {
  // Held in a register rather than reloaded from lector_ after every call.
  lector_grupos& lector = *lector_;
  bool entera = false;
  for (;;) {
    const grupo* g = !entera                ? &lector.exige<valores_enteros>(entidad)
                     : valores_enteros ? lector.siguiente_entero()
                                       : lector.siguiente();
    if (g == nullptr) return;
    if (g->codigo == 0) {
      lector.devuelve();
      return;
    }
    if (por_grupo(*g)) entera = true;
  }
}

// Here rather than in one reader's file: a vertex has three coordinates, and a call more
// for each showed in the profile.
inline std::int32_t conversor::coordenada(const grupo& g, bool con_desplazamiento) const {
  try {
    return escala_coord(g.valor, con_desplazamiento);
  } catch (const error_conversion& e) {
    throw e.situada(lector_->fichero(), g.num_linea + 1);
  }
}

}  // namespace tolvar
