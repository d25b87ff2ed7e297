#include "core/lector_grupos.h"

#include "core/error_conversion.h"
#include "core/numeros.h"
#include "core/texto.h"

namespace tolvar {

lector_grupos::lector_grupos(fuente& origen, std::filesystem::path fichero)
    : lineas_(origen, std::move(fichero)) {}

const grupo* lector_grupos::siguiente_guardado() noexcept {
  if (guardado_ == fin_guardado_) return nullptr;
  const grupo_guardado& g = *guardado_++;
  actual_.codigo = g.codigo;
  actual_.linea = std::string_view(texto_guardado_ + g.inicio, g.largo);
  actual_.valor = recorta(actual_.linea);
  actual_.num_linea = g.num_linea;
  return &actual_;
}

lector_grupos::pausa lector_grupos::reproduce(const grupo_guardado* desde, const grupo_guardado* hasta,
                                              const char* texto) noexcept {
  pausa p{actual_, devuelto_, guardado_, fin_guardado_, texto_guardado_};
  devuelto_ = false;
  guardado_ = desde;
  fin_guardado_ = hasta;
  texto_guardado_ = texto;
  desvio_ = true;
  return p;
}

void lector_grupos::reanuda(const pausa& p) noexcept {
  actual_ = p.actual;
  devuelto_ = p.devuelto;
  guardado_ = p.siguiente;
  fin_guardado_ = p.fin;
  texto_guardado_ = p.texto;
  desvio_ = devuelto_ || guardado_ != nullptr;
}

const grupo* lector_grupos::fin_en_blanco(std::int64_t primera_blanca) {
  std::string_view linea;
  while (lineas_.lee(linea)) {
    if (!recorta(linea).empty())
      throw error_conversion(tipo_incompatible,
                             {"blank line where a group code was expected",
                              "línea en blanco donde se esperaba un código de grupo"},
                             fichero(), primera_blanca);
  }
  terminado_ = true;
  return nullptr;
}

const grupo* lector_grupos::sin_linea_de_codigo() {
  if (terminado_) return nullptr;
  terminado_ = true;
  if (lineas_.num_linea() == 0)
    throw error_conversion(fin_de_fichero, {"the drawing is empty", "el dibujo está vacío"}, fichero());
  return nullptr;
}

bool lector_grupos::codigo_general(std::string_view linea, std::int64_t n) {
  const std::string_view codigo = recorta(linea);
  if (codigo.empty()) return false;
  bool desborda = false;
  if (!lee_entero(codigo, actual_.codigo, desborda)) {
    throw error_conversion(desborda ? desbordamiento : tipo_incompatible,
                           {cita(codigo) + " is not a group code",
                            cita(codigo) + " no es un código de grupo"},
                           fichero(), n);
  }
  return true;
}

void lector_grupos::sin_valor(std::int64_t n) const {
  const std::string codigo = std::to_string(actual_.codigo);
  throw error_conversion(fin_de_fichero,
                         {"group code " + codigo + " has no value line",
                          "el código de grupo " + codigo + " no tiene línea de valor"},
                         fichero(), n);
}

void lector_grupos::termina_dentro(const char* entidad) const {
  const std::string_view tipo = entidad;
  // "an INSERT", and "an LWPOLYLINE", "an MTEXT" as their letters are said.
  const bool vocal = !tipo.empty() && (std::string_view("AEIOU").find(tipo[0]) != std::string_view::npos ||
                                       tipo.starts_with("LW") || tipo.starts_with("MT"));
  throw error_conversion(fin_de_fichero,
                         {std::string("the drawing ends inside ") + (vocal ? "an " : "a ") + entidad,
                          std::string("el dibujo termina dentro de un ") + entidad},
                         fichero(), lineas_.num_linea());
}

}  // namespace tolvar
