#pragma once

// What the entity readers share: group codes, the group loop of one entity, coordinates and
// the layer (lectura.cpp).

#include <string_view>

#include "core/conversor.h"
#include "core/error_conversion.h"
#include "core/lector_grupos.h"
#include "core/numeros.h"

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
// DXF's default layer: what an entity without a layer group of its own lies on.
inline constexpr std::string_view capa_por_defecto = "0";

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
