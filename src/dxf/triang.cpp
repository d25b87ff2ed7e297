#include <algorithm>

#include "core/conversor.h"
#include "dxf/lectura.h"

namespace tolvar {

void conversor::ProcesaTriang() {
  constexpr int max_esquinas = 4;
  tipo_punto esquinas[max_esquinas] = {};
  int num_esquinas = 0;
  // A triangle is never whole before its group 0: the drawing must not end inside one.
  recorre_entidad("TRIANG", [&](const grupo& g) {
    // The last digit of the code names the corner: 10/20/30 the first, 13/23/33 the fourth.
    const int eje = g.codigo / 10;
    const int esquina = g.codigo % 10;
    if (g.codigo < grupo_x || eje > 3 || esquina >= max_esquinas) return false;
    tipo_punto& p = esquinas[esquina];
    // A triangle's northing keeps no offset: its records are read in true coordinates.
    if (eje == 1) p.x = coordenada(g, false);
    if (eje == 2) p.y = coordenada(g, false);
    if (eje == 3) p.z = coordenada(g, false);
    num_esquinas = std::max(num_esquinas, esquina + 1);
    return false;
  });
  std::copy_n(esquinas, num_esquinas, e_.puntos.begin() + 1);
  e_.num_puntos = num_esquinas;
  e_.elem_cerrado = false;
  e_.EsTexto = false;
  e_.codigo = "TRIANG";
  GrabaEntidad();
}

}  // namespace tolvar
