// MTEXT, read on request, written as a text.
#include "core/conversor.h"
#include "core/error_conversion.h"
#include "core/lector_grupos.h"
#include "core/texto.h"
#include "dxf/formato_mtext.h"
#include "dxf/lectura.h"

namespace tolvar {
namespace {

// No text of the format is longer than 32,767 characters, but formatting codes may make its
// groups much longer than what is left of them; past this, memory would grow with the drawing.
constexpr std::size_t max_bytes_mtext = std::size_t{4} << 20;

}  // namespace

void conversor::ProcesaMtext() {
  tiene_capa_ = false;
  tipo_punto p{};
  // In a block its point is placed before it is scaled: kept as numbers.
  const bool colocado = colocando_;
  punto_leido q;
  e_.texto.clear();
  ultimo_1_.clear();
  bool objeto_incrustado = false;
  recorre_entidad<true>("MTEXT", [&](const grupo& g) {
    if (objeto_incrustado) return false;
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
        break;
      case grupo_altura: e_.AlturaTexto = altura(g); break;
      // Pieces are cut at any place, spaces included: each is taken whole.
      case grupo_trozo_texto:
        if (e_.texto.size() + g.linea.size() > max_bytes_mtext) {
          throw error_conversion(desbordamiento,
                                 {"an MTEXT of more than 4 MiB", "un MTEXT de más de 4 MiB"},
                                 lector_->fichero(), g.num_linea + 1);
        }
        e_.texto.append(g.linea);
        break;
      case grupo_texto: ultimo_1_.assign(g.linea); break;
      // Its direction and column width would be taken for the text's point and height.
      case grupo_objeto_incrustado: objeto_incrustado = true; break;
      default: break;
    }
    return false;
  });
  e_.texto += ultimo_1_;
  // Joined before the UTF-8 test, so that a character cut between two pieces decodes.
  a_pagina_salida(e_.texto, pagina_dibujo_, opciones_.pagina_salida);
  quita_formato_mtext(e_.texto, opciones_.pagina_salida);
  if (recorta(e_.texto) == ".") e_.texto = "x";
  e_.EsTexto = true;
  e_.num_puntos = 1;
  e_.puntos[1] = colocado ? escala_punto(q, plano_objeto()) : p;
  clasifica_sin_capa();
  GrabaEntidad();
}

}  // namespace tolvar
