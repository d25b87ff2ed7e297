#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/ficheros.h"
#include "core/pagina_codigos.h"

namespace tolvar {

// The name of the code table in the drawings' directory.
inline constexpr const char* nombre_tabla = "dxfbin.tab";
// What an unclassified layer is coded as.
inline constexpr const char* codigo_nuevo = "Nuevo";

// One line of the table: a code, a space, a layer text.
struct fila_codigo {
  std::string codigo;
  std::string capa;
};

// The layer code table. Rows keep the order of the file: the first match wins.
class tabla_codigos {
 public:
  // Reads the whole table from `origen` (`fichero` names it in errors), replacing what the
  // table held. A UTF-8 byte-order mark at its start is dropped, and a line of UTF-8 with a
  // byte above 127 is read into `pagina`; any other line is taken to be in `pagina` already. Error 5 for a line without a space once trimmed (a blank line included),
  // error 6 for more than 32,767 lines or a first space at position 32,767 or beyond.
  void carga(fuente& origen, const std::filesystem::path& fichero,
             pagina_codigos pagina = pagina_codigos::ansi_1252);

  // The code of the first row whose layer text occurs anywhere in `capa` (exact bytes), or
  // nullptr when no row does.
  const std::string* busca(std::string_view capa) const;

  std::int16_t num_tab() const noexcept { return static_cast<std::int16_t>(filas_.size()); }
  const std::vector<fila_codigo>& filas() const noexcept { return filas_; }

 private:
  std::vector<fila_codigo> filas_;
  // The last lookup and its answer (the row's index, so that a copy of the table stays
  // sound; filas_.size() for no match): entities come layer by layer, and a name that no
  // row matches would otherwise cost a search of every row each time.
  mutable std::string ultima_capa_;
  mutable std::size_t ultima_fila_ = 0;
  mutable bool hay_ultima_ = false;
};

}  // namespace tolvar
