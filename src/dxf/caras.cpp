// 3DFACE, SOLID and TRACE, read on request, each written as a closed polyline of its corners.
#include "core/conversor.h"
#include "core/lector_grupos.h"
#include "dxf/lectura.h"

namespace tolvar {
namespace {

constexpr int max_esquinas = 4;

// The corner and the axis a group 10 to 13, 20 to 23 or 30 to 33 gives; false for others.
bool esquina_de(int codigo, int& esquina, int& eje) {
  eje = codigo / 10;
  esquina = codigo % 10;
  return codigo >= grupo_x && eje <= 3 && esquina < max_esquinas;
}

valor_leido& valor_de(punto_leido& p, int eje) {
  return eje == 1 ? p.x : eje == 2 ? p.y : p.z;
}

}  // namespace

// In world coordinates, each value scaled as it is read, like a LINE's.
void conversor::Procesa3dface() {
  tiene_capa_ = false;
  punto_leido esquinas[max_esquinas];
  tipo_punto escaladas[max_esquinas] = {};
  bool hay_cuarta = false;
  recorre_entidad("3DFACE", [&](const grupo& g) {
    int esquina = 0, eje = 0;
    if (g.codigo == grupo_capa) {
      capa(g);
    } else if (esquina_de(g.codigo, esquina, eje)) {
      valor_leido& v = valor_de(esquinas[esquina], eje);
      lee_valor(g, v);
      if (esquina == 3) hay_cuarta = true;
      // In a block the corners are placed before they are scaled, when the face ends.
      if (colocando_) return false;
      const std::int32_t k = escala_leido(v, eje == 2);
      tipo_punto& p = escaladas[esquina];
      (eje == 1 ? p.x : eje == 2 ? p.y : p.z) = k;
    }
    return false;
  });
  // A triangle repeats its third corner as the fourth, or leaves the fourth out.
  const bool triangulo = !hay_cuarta || esquinas[3].doble() == esquinas[2].doble();
  const int n = triangulo ? 3 : 4;
  for (int i = 0; i < n; ++i)
    e_.puntos[static_cast<std::size_t>(i) + 1] = colocando_ ? escala_punto(esquinas[i], plano_objeto()) : escaladas[i];
  e_.num_puntos = n;
  e_.elem_cerrado = true;
  clasifica_sin_capa();
  GrabaEntidad();
}

// In their own plane, whose normal follows the corners: kept as read until the entity ends.
// Their corners go round as 1, 2, 4, 3.
void conversor::ProcesaSolid(const char* entidad) {
  tiene_capa_ = false;
  punto_leido esquinas[max_esquinas];
  normal_leida normal;
  bool hay_cuarta = false;
  recorre_entidad(entidad, [&](const grupo& g) {
    int esquina = 0, eje = 0;
    if (g.codigo == grupo_capa) {
      capa(g);
    } else if (esquina_de(g.codigo, esquina, eje)) {
      lee_valor(g, valor_de(esquinas[esquina], eje));
      if (esquina == 3) hay_cuarta = true;
    } else {
      lee_normal(g, normal);
    }
    return false;
  });
  const bool triangulo = !hay_cuarta || esquinas[3].doble() == esquinas[2].doble();
  static constexpr int orden_cuadrilatero[] = {0, 1, 3, 2};
  static constexpr int orden_triangulo[] = {0, 1, 2};
  const int* orden = triangulo ? orden_triangulo : orden_cuadrilatero;
  const int n = triangulo ? 3 : 4;
  const plano_objeto plano = normal.plano();
  for (int i = 0; i < n; ++i)
    e_.puntos[static_cast<std::size_t>(i) + 1] = escala_punto(esquinas[orden[i]], plano);
  e_.num_puntos = n;
  e_.elem_cerrado = true;
  clasifica_sin_capa();
  GrabaEntidad();
}

}  // namespace tolvar
