// What every reader takes the same way: the layer, the closed flag, a text's height.
#include "core/conversor.h"
#include "core/error_conversion.h"
#include "core/lector_grupos.h"
#include "core/numeros.h"
#include "core/texto.h"
#include "dxf/lectura.h"

namespace tolvar {

void conversor::capa(const grupo& g) {
  e_.codigo.assign(g.valor);
  // Before the table sees it: the table and the .err are in the output's code page.
  convierte_valor(e_.codigo, pagina_dibujo_, opciones_.pagina_salida);
  ProcesaCodigo(e_.codigo);
  tiene_capa_ = true;
}

void conversor::clasifica_sin_capa() {
  if (tiene_capa_) return;
  e_.codigo.assign(capa_por_defecto);
  ProcesaCodigo(e_.codigo);
}

bool conversor::indicador_cerrado(const grupo& g) const {
  std::int32_t indicadores = 0;
  bool desborda = false;
  if (!lee_entero(g.valor, indicadores, desborda)) {
    throw error_conversion(desborda ? desbordamiento : tipo_incompatible,
                           {cita(g.valor) + " is not an integer",
                            cita(g.valor) + " no es un número entero"},
                           lector_->fichero(), g.num_linea + 1);
  }
  return (indicadores & 1) != 0;  // bit 1: closed, whatever else is set
}

double conversor::altura(const grupo& g) const {
  try {
    return escala_altura(g.valor);
  } catch (const error_conversion& e) {
    throw e.situada(lector_->fichero(), g.num_linea + 1);
  }
}

}  // namespace tolvar
