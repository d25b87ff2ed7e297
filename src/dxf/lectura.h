#pragma once

// Small helpers shared by the entity readers.

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
// DXF's default layer: what an entity without a layer group of its own lies on.
inline constexpr std::string_view capa_por_defecto = "0";

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
