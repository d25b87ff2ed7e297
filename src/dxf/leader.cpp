// LEADER, read on request: the line of a callout, written as an open polyline of its vertices.
#include "core/conversor.h"
#include "core/lector_grupos.h"
#include "dxf/lectura.h"

namespace tolvar {

// In world coordinates; the arrowhead and the hook line are not drawn, so nothing but the
// layer and the vertices is read. Each value is a number when met and is scaled when the
// entity ends, as an LWPOLYLINE's: its errors name the value's own line either way.
void conversor::ProcesaLeader() {
  tiene_capa_ = false;
  memoria_lectura& m = memoria();
  std::int32_t n = 0;
  recorre_entidad("LEADER", [&](const grupo& g) {
    switch (g.codigo) {
      case grupo_capa: capa(g); break;
      case grupo_x:
        empieza_vertice(g, n, "a LEADER with more than 5000 vertices", "un LEADER con más de 5000 vértices");
        break;
      // Before any 10 there is no vertex for these; their values are not even looked at.
      case grupo_y:
        if (n > 0) lee_valor(g, m.vertices[static_cast<std::size_t>(n)].p.y);
        break;
      case grupo_z:
        if (n > 0) lee_valor(g, m.vertices[static_cast<std::size_t>(n)].p.z);
        break;
      default: break;
    }
    return false;
  });
  const plano_objeto mundo;
  for (std::int32_t i = 1; i <= n; ++i)
    e_.puntos[static_cast<std::size_t>(i)] = escala_punto(m.vertices[static_cast<std::size_t>(i)].p, mundo);
  e_.num_puntos = n;
  e_.elem_cerrado = false;
  clasifica_sin_capa();
  GrabaEntidad();
}

}  // namespace tolvar
