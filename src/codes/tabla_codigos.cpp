#include "codes/tabla_codigos.h"

#include <algorithm>
#include <optional>

#include "core/conversor.h"
#include "core/error_conversion.h"
#include "core/lector_lineas.h"
#include "core/numeros.h"
#include "core/texto.h"

namespace tolvar {

void tabla_codigos::carga(fuente& origen, const std::filesystem::path& fichero,
                          pagina_codigos pagina) {
  lector_lineas lineas(origen, fichero);
  std::string convertida;
  std::vector<fila_codigo> filas;
  // Too many lines is reported before a bad line, whichever comes first in the file: the
  // count of the rows is the first thing known about a table.
  std::optional<error_conversion> linea_mala;
  std::string_view linea;
  while (lineas.lee(linea)) {
    if (lineas.num_linea() > static_cast<std::int64_t>(max_16))
      throw error_conversion(desbordamiento,
                             {"the code table has more than 32,767 lines",
                              "la tabla de códigos tiene más de 32.767 líneas"},
                             fichero,
                             lineas.num_linea());
    if (linea_mala) continue;
    // Tables written in UTF-8 are read in the output's code page; nearly every line is plain
    // ASCII and is taken as it is.
    if (std::any_of(linea.begin(), linea.end(), [](char c) { return (c & 0x80) != 0; })) {
      convertida.assign(linea);
      linea_tabla_a_pagina(convertida, lineas.num_linea() == 1, pagina);
      linea = convertida;
    }
    const std::string_view l = recorta(linea);
    const std::size_t p = l.find(' ');
    if (p == std::string_view::npos) {
      linea_mala.emplace(argumento_no_valido,
                         texto_error{cita(l) + " is not a code, a space and a layer text",
                                     cita(l) + " no es un código, un espacio y un texto de capa"},
                         fichero,
                         lineas.num_linea());
      continue;
    }
    if (p + 1 >= max_16) {
      linea_mala.emplace(desbordamiento,
                         texto_error{"the code of this line is too long",
                                     "el código de esta línea es demasiado largo"},
                         fichero,
                         lineas.num_linea());
      continue;
    }
    filas.push_back({std::string(l.substr(0, p)), std::string(recorta(l.substr(p + 1)))});
  }
  if (linea_mala) throw *linea_mala;
  filas_ = std::move(filas);
  hay_ultima_ = false;
}

const std::string* tabla_codigos::busca(std::string_view capa) const {
  if (!hay_ultima_ || capa != ultima_capa_) {
    ultima_fila_ = 0;
    while (ultima_fila_ < filas_.size() &&
           capa.find(filas_[ultima_fila_].capa) == std::string_view::npos)
      ++ultima_fila_;
    ultima_capa_.assign(capa);
    hay_ultima_ = true;
  }
  return ultima_fila_ < filas_.size() ? &filas_[ultima_fila_].codigo : nullptr;
}

void borra_tabla::operator()(tabla_codigos* tabla) const noexcept { delete tabla; }

std::unique_ptr<tabla_codigos, borra_tabla> nueva_tabla() {
  return std::unique_ptr<tabla_codigos, borra_tabla>(new tabla_codigos);
}

void conversor::CargaTab() {
  e_.fich_tab = e_.directorio / nombre_tabla;
  const std::unique_ptr<fuente> origen = fs_.abre(e_.fich_tab);
  tabla_->carga(*origen, e_.fich_tab, opciones_.pagina_salida);
}

void conversor::ProcesaCodigo(std::string& codigo) {
  if (const std::string* c = tabla_->busca(codigo)) {
    codigo = *c;
    return;
  }
  linea_err_.assign(codigo);
  linea_err_ += "\r\n";
  err_->escribe(linea_err_);
  codigo = codigo_nuevo;
}

}  // namespace tolvar
