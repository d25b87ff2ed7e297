#include <cstdlib>

#include "core/conversor.h"
#include "core/error_conversion.h"
#include "core/numeros.h"
#include "core/texto.h"
#include "dxf/lectura.h"

namespace tolvar {
namespace {

// A mesh's face records are kept until the mesh ends, so that a mesh that fails writes
// nothing. A mesh of 5000 vertices has some 10,000 faces; this bounds the memory a drawing
// can make it take.
constexpr std::size_t max_caras_malla = 100000;

// How a POLYLINE's vertices are read, known at its first vertex: by then its own groups 70
// and 210 to 230 have been read.
enum class modo_vertices {
  por_decidir,
  // Scaled as read: 3D polylines, polygon meshes, and 2D polylines in the world's plane with
  // their arcs left as chords. The hot path of a conversion.
  directo,
  // As numbers: a 2D polyline whose arcs are drawn or whose plane is not the world's; in a
  // block, every polyline but a polyface mesh, whose points are placed before they are scaled.
  numeros,
  // A polyface mesh: vertices and face records.
  malla,
};

}  // namespace

void conversor::ProcesaPolyline() {
  lector_grupos& lector = *lector_;  // as in procesaVertex()
  tiene_capa_ = false;
  std::int32_t indicadores = 0;
  normal_leida normal;
  plano_objeto plano;
  modo_vertices modo = modo_vertices::por_decidir;
  // Only a 2D polyline lies in a plane of its own and has arcs.
  bool plana = false;
  const auto decide = [&] {
    if ((indicadores & malla_caras) != 0) {
      modo = modo_vertices::malla;
      memoria().caras.clear();
    } else if ((indicadores & (polilinea_3d | malla_poligonal)) != 0) {
      modo = colocando_ ? modo_vertices::numeros : modo_vertices::directo;
    } else {
      plana = true;
      plano = normal.plano();
      modo = plano.mueve() || opciones_.arcos || colocando_ ? modo_vertices::numeros
                                                              : modo_vertices::directo;
    }
  };
  for (;;) {
    const grupo& g = lector.exige("POLYLINE");
    if (g.codigo == 0) {
      if (g.valor == "VERTEX") {
        if (modo == modo_vertices::por_decidir) decide();
        if (modo == modo_vertices::malla) {
          procesaVertexMalla(g.num_linea + 1);
          continue;
        }
        if (e_.num_puntos >= max_puntos) {
          throw error_conversion(subindice_fuera_de_rango,
                                 {"a POLYLINE with more than 5000 vertices",
                                  "un POLYLINE con más de 5000 vértices"},
                                 lector.fichero(), g.num_linea + 1);
        }
        ++e_.num_puntos;
        if (modo == modo_vertices::directo) {
          procesaVertex();
        } else {
          procesaVertexReal(!plano.mueve() && !colocando_, plana && opciones_.arcos);
        }
        continue;
      }
      // Any other entity ends the polyline too: a missing SEQEND must not swallow the
      // entities after it.
      if (g.valor != "SEQEND") lector.devuelve();
      break;
    }
    if (g.codigo == grupo_capa) {
      capa(g);
    } else if (g.codigo == grupo_indicadores) {
      indicadores = entero(g);
      e_.elem_cerrado = (indicadores & 1) != 0;
    } else {
      lee_normal(g, normal);
    }
  }
  if (modo == modo_vertices::por_decidir) decide();
  if (modo == modo_vertices::malla) {
    clasifica_sin_capa();
    escribe_malla();
    return;
  }
  if (modo == modo_vertices::numeros) {
    if (plano.mueve() || colocando_) {
      const memoria_lectura& m = memoria();
      for (std::int32_t i = 1; i <= e_.num_puntos; ++i) {
        const auto j = static_cast<std::size_t>(i);
        e_.puntos[j] = escala_calculado(plano.al_mundo(m.vertices[j].p.doble()));
      }
    }
    if (plana && opciones_.arcos) traza_arcos(e_.num_puntos, plano);
  }
  clasifica_sin_capa();
  GrabaEntidad();
}

void conversor::procesaVertex() {
  // The hottest loop of a conversion: the reader in a register, not reloaded from lector_
  // after every call.
  lector_grupos& lector = *lector_;
  tipo_punto p{};  // DXF's default for a coordinate the vertex leaves out
  for (;;) {
    const grupo& g = lector.exige("VERTEX");
    if (g.codigo == 0) {
      lector.devuelve();
      break;
    }
    switch (g.codigo) {
      case grupo_x: p.x = coordenada(g, false); break;
      case grupo_y: p.y = coordenada(g, true); break;
      case grupo_z: p.z = coordenada(g, false); break;
      default: break;
    }
  }
  e_.puntos[static_cast<std::size_t>(e_.num_puntos)] = p;
}

// In the world's plane the vertex is scaled as each value is read, as procesaVertex() does;
// in another, when the polyline ends, moved.
void conversor::procesaVertexReal(bool escala_ya, bool combas) {
  lector_grupos& lector = *lector_;
  const auto n = static_cast<std::size_t>(e_.num_puntos);
  vertice_leido& v = memoria().vertice(n);
  v = {};
  tipo_punto p{};
  for (;;) {
    const grupo& g = lector.exige("VERTEX");
    if (g.codigo == 0) {
      lector.devuelve();
      break;
    }
    switch (g.codigo) {
      case grupo_x:
        lee_valor(g, v.p.x);
        if (escala_ya) p.x = escala_leido(v.p.x, false);
        break;
      case grupo_y:
        lee_valor(g, v.p.y);
        if (escala_ya) p.y = escala_leido(v.p.y, true);
        break;
      case grupo_z:
        lee_valor(g, v.p.z);
        if (escala_ya) p.z = escala_leido(v.p.z, false);
        break;
      case grupo_comba:
        if (combas) v.comba = numero(g);
        break;
      default: break;
    }
  }
  e_.puntos[n] = p;
}

// A mesh vertex is known from a face record only by its group 70, which follows the
// coordinates: each is read as a number and scaled when the vertex ends. A face record's
// coordinates are 0 and never scaled.
void conversor::procesaVertexMalla(std::int64_t linea_vertex) {
  lector_grupos& lector = *lector_;
  punto_leido p;
  std::int32_t indicadores = 0;
  std::int32_t esquinas[4] = {0, 0, 0, 0};
  std::int64_t lineas[4] = {0, 0, 0, 0};
  for (;;) {
    const grupo& g = lector.exige("VERTEX");
    if (g.codigo == 0) {
      lector.devuelve();
      break;
    }
    switch (g.codigo) {
      case grupo_x: lee_valor(g, p.x); break;
      case grupo_y: lee_valor(g, p.y); break;
      case grupo_z: lee_valor(g, p.z); break;
      case grupo_indicadores: indicadores = entero(g); break;
      default:
        if (g.codigo >= grupo_primera_esquina && g.codigo <= grupo_ultima_esquina) {
          const int k = g.codigo - grupo_primera_esquina;
          esquinas[k] = entero(g);
          lineas[k] = g.num_linea + 1;
        }
        break;
    }
  }
  memoria_lectura& m = memoria();
  if ((indicadores & vertice_cara) != 0 && (indicadores & vertice_malla_3d) == 0) {
    std::array<std::int32_t, 4> cara{};
    for (int k = 0; k < 4; ++k) {
      // The sign only hides the edge that starts at this corner.
      const std::int64_t v = std::llabs(static_cast<std::int64_t>(esquinas[k]));
      if (v > e_.num_puntos) {
        const std::string n = std::to_string(v);
        throw error_conversion(subindice_fuera_de_rango,
                               {"a face names mesh vertex " + n + ", which has not been read",
                                "una cara nombra el vértice " + n + " de la malla, que no se ha leído"},
                               lector.fichero(), lineas[k]);
      }
      cara[static_cast<std::size_t>(k)] = static_cast<std::int32_t>(v);
    }
    if (m.caras.size() >= max_caras_malla) {
      throw error_conversion(subindice_fuera_de_rango,
                             {"a polyface mesh with more than 100,000 faces",
                              "una malla de caras con más de 100.000 caras"},
                             lector.fichero(), linea_vertex);
    }
    m.caras.push_back(cara);
    return;
  }
  if (e_.num_puntos >= max_puntos) {
    throw error_conversion(subindice_fuera_de_rango,
                           {"a polyface mesh with more than 5000 vertices",
                            "una malla de caras con más de 5000 vértices"},
                           lector.fichero(), linea_vertex);
  }
  ++e_.num_puntos;
  m.todos_los_puntos()[static_cast<std::size_t>(e_.num_puntos)] = escala_punto(p, plano_objeto());
}

// One closed record per face record, its corners in the order of its groups 71 to 74, on the
// layer of the POLYLINE; none for the mesh's vertices themselves.
void conversor::escribe_malla() {
  memoria_lectura& m = memoria();
  for (const std::array<std::int32_t, 4>& cara : m.caras) {
    std::int32_t n = 0;
    for (const std::int32_t v : cara) {
      if (v != 0) e_.puntos[static_cast<std::size_t>(++n)] = m.puntos[static_cast<std::size_t>(v)];
    }
    e_.num_puntos = n;
    e_.elem_cerrado = true;
    e_.EsTexto = false;
    GrabaEntidad();
  }
  m.caras.clear();
}

}  // namespace tolvar
