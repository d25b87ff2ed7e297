#pragma once

// Small helpers shared by the entity readers.

#include <string_view>

namespace tolvar {

inline constexpr int grupo_capa = 8;
inline constexpr int grupo_texto = 1;
inline constexpr int grupo_x = 10, grupo_y = 20, grupo_z = 30;
inline constexpr int grupo_altura = 40;
inline constexpr int grupo_indicadores = 70;
// DXF's default layer: what an entity without a layer group of its own lies on.
inline constexpr std::string_view capa_por_defecto = "0";

}  // namespace tolvar
