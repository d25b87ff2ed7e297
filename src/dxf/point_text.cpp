// The readers of single-point entities.
#include "core/conversor.h"
#include "core/error_conversion.h"
#include "core/lector_grupos.h"
#include "core/numeros.h"
#include "dxf/lectura.h"

namespace tolvar {

void conversor::ProcesaPoint() {
  tiene_capa_ = false;
  tipo_punto p{};
  bool tiene_z = false;
  // Once it has its Z the point is whole, and the drawing may end right after it.
  recorre_entidad("POINT", [&](const grupo& g) {
    switch (g.codigo) {
      case grupo_capa: capa(g); break;
      case grupo_x: p.x = coordenada(g, false); break;
      case grupo_y: p.y = coordenada(g, true); break;
      case grupo_z:
        p.z = coordenada(g, false);
        tiene_z = true;
        break;
      default: break;
    }
    return tiene_z;
  });
  // A point without Z has never been written to these files; their readers may rely on it.
  if (!tiene_z) return;
  e_.puntos[1] = p;
  clasifica_sin_capa();
  GrabaEntidad();
}

void conversor::ProcesaText() {
  tiene_capa_ = false;
  tipo_punto p{};
  bool tiene_texto = false;
  e_.texto.clear();
  recorre_entidad("TEXT", [&](const grupo& g) {
    switch (g.codigo) {
      case grupo_capa: capa(g); break;
      case grupo_x: p.x = coordenada(g, false); break;
      case grupo_y: p.y = coordenada(g, true); break;
      case grupo_z: p.z = coordenada(g, false); break;
      case grupo_altura: e_.AlturaTexto = altura(g); break;
      case grupo_texto:
        e_.texto.assign(g.valor);
        convierte_valor(e_.texto, pagina_dibujo_, opciones_.pagina_salida);
        // The files have always carried a lone dot as "x".
        if (e_.texto == ".") e_.texto = "x";
        tiene_texto = true;
        break;
      default: break;
    }
    return tiene_texto;
  });
  e_.puntos[1] = p;
  clasifica_sin_capa();
  GrabaEntidad();
}

// The block's own geometry is not drawn out: its insertion point stands for it, as a point.
void conversor::ProcesaInsert() {
  tiene_capa_ = false;
  tipo_punto p{};
  recorre_entidad("INSERT", [&](const grupo& g) {
    switch (g.codigo) {
      case grupo_capa: capa(g); break;
      case grupo_x: p.x = coordenada(g, false); break;
      case grupo_y: p.y = coordenada(g, true); break;
      case grupo_z: p.z = coordenada(g, false); break;
      default: break;
    }
    return false;
  });
  e_.num_puntos = 1;
  e_.puntos[1] = p;
  clasifica_sin_capa();
  GrabaEntidad();
}

}  // namespace tolvar
