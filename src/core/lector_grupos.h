#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "core/lector_lineas.h"

namespace tolvar {

// One group of an ASCII DXF drawing: a code line, then a value line.
struct grupo {
  int codigo = 0;
  std::string_view valor;        // trimmed of spaces; valid until the next read
  std::int64_t num_linea = 0;    // line of the code; the value is on the next one
};

// Reads a drawing as groups. The drawing ends at the group 0/EOF (returned, then nothing
// after it is read: old files carry a Ctrl-Z or other bytes there), or at the end of the file,
// or at a run of blank lines that lasts to the end of the file.
// Throws error_conversion naming the file and line: 13 for a code line that is not an
// integer (a blank one included), 62 for a code without its value line or an empty drawing.
class lector_grupos {
 public:
  lector_grupos(fuente& origen, std::filesystem::path fichero);

  // The next group, or nullptr at the end of the drawing.
  const grupo* siguiente();
  // The next group; the end of the drawing here is error 62, "inside" naming what was open.
  const grupo& exige(const char* dentro_de);
  // The group last returned comes again on the next read: a reader hands back the group 0
  // that ends its entity to the loop that owns it.
  void devuelve() noexcept { devuelto_ = true; }

  const std::filesystem::path& fichero() const noexcept { return lineas_.fichero(); }
  std::int64_t num_linea() const noexcept { return lineas_.num_linea(); }

 private:
  const grupo* fin_en_blanco(std::int64_t primera_blanca);

  lector_lineas lineas_;
  grupo actual_;
  bool devuelto_ = false;
  bool terminado_ = false;
};

// Parses an optionally signed decimal integer, spaces around allowed. Returns false for
// anything else; `desborda` tells an integer too large for 32 bits.
bool lee_entero(std::string_view texto, std::int32_t& valor, bool& desborda) noexcept;

}  // namespace tolvar
