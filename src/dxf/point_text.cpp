// The readers of single-point entities.
#include "core/conversor.h"
#include "core/error_conversion.h"
#include "core/lector_grupos.h"
#include "core/numeros.h"
#include "core/texto.h"
#include "dxf/lectura.h"

namespace tolvar {

void conversor::ProcesaPoint() {
  tiene_capa_ = false;
  tipo_punto p{};
  // In a block the point is placed before it is scaled: its values are kept as numbers.
  const bool colocado = colocando_;
  punto_leido q;
  bool tiene_z = false;
  // Once it has its Z the point is whole, and the drawing may end right after it.
  recorre_entidad("POINT", [&](const grupo& g) {
    switch (g.codigo) {
      case grupo_capa: capa(g); break;
      case grupo_x:
        if (colocado) lee_valor(g, q.x); else p.x = coordenada(g, false);
        break;
      case grupo_y:
        if (colocado) lee_valor(g, q.y); else p.y = coordenada(g, true);
        break;
      case grupo_z:
        if (colocado) lee_valor(g, q.z); else p.z = coordenada(g, false);
        tiene_z = true;
        break;
      default: break;
    }
    return tiene_z;
  });
  // A point without Z has never been written to these files; their readers may rely on it.
  if (!tiene_z) return;
  e_.puntos[1] = colocado ? escala_punto(q, plano_objeto()) : p;
  clasifica_sin_capa();
  GrabaEntidad();
}

// A text's point lies in its own plane, whose normal follows the point in files: the values
// are kept as read until the text ends.
void conversor::ProcesaText(const char* entidad, bool atributo) {
  tiene_capa_ = false;
  punto_leido p;
  normal_leida normal;
  bool tiene_texto = false;
  std::int32_t indicadores = 0;
  e_.texto.clear();
  recorre_entidad(entidad, [&](const grupo& g) {
    switch (g.codigo) {
      case grupo_capa: capa(g); break;
      case grupo_indicadores:
        if (atributo) indicadores = entero(g);
        break;
      case grupo_x: lee_valor(g, p.x); break;
      case grupo_y: lee_valor(g, p.y); break;
      case grupo_z: lee_valor(g, p.z); break;
      case grupo_altura: e_.AlturaTexto = altura(g); break;
      case grupo_texto:
        e_.texto.assign(g.valor);
        convierte_valor(e_.texto, pagina_dibujo_, opciones_.pagina_salida);
        // The files have always carried a lone dot as "x"; a dot written with escaped
        // spaces around it is one too.
        if (recorta(e_.texto) == ".") e_.texto = "x";
        tiene_texto = true;
        break;
      default: lee_normal(g, normal); break;
    }
    return tiene_texto;
  });
  // An invisible attribute (bit 1) is kept in the drawing, not shown on the map.
  if (atributo && (indicadores & 1) != 0) return;
  e_.puntos[1] = escala_punto(p, normal.plano());
  clasifica_sin_capa();
  GrabaEntidad();
}

// The block's own geometry is not drawn out: its insertion point stands for it, as a point,
// in the block's plane like a text's.
void conversor::ProcesaInsert() {
  tiene_capa_ = false;
  punto_leido p;
  normal_leida normal;
  recorre_entidad("INSERT", [&](const grupo& g) {
    switch (g.codigo) {
      case grupo_capa: capa(g); break;
      case grupo_x: lee_valor(g, p.x); break;
      case grupo_y: lee_valor(g, p.y); break;
      case grupo_z: lee_valor(g, p.z); break;
      default: lee_normal(g, normal); break;
    }
    return false;
  });
  e_.num_puntos = 1;
  e_.puntos[1] = escala_punto(p, normal.plano());
  clasifica_sin_capa();
  GrabaEntidad();
}

}  // namespace tolvar
