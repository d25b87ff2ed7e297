#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "core/lector_lineas.h"
#include "core/texto.h"

namespace tolvar {

// One group of an ASCII DXF drawing: a code line, then a value line.
struct grupo {
  int codigo = 0;
  std::string_view valor;        // trimmed of spaces; valid until the next read
  std::string_view linea;        // the value line whole, spaces kept; only from *_entero()
  std::int64_t num_linea = 0;    // line of the code; the value is on the next one
};

// A group kept to be read again: its code, its value line whole (spaces kept) as `largo` bytes
// from `inicio` of the text it was kept in, and the line of its code in the drawing.
struct grupo_guardado {
  std::int64_t num_linea = 0;
  std::uint32_t inicio = 0;
  std::uint32_t largo = 0;
  int codigo = 0;
};

// Reads a drawing as groups. The drawing ends at the group 0/EOF (returned, then nothing
// after it is read: old files carry a Ctrl-Z or other bytes there), or at the end of the file,
// or at a run of blank lines that lasts to the end of the file.
// Throws error_conversion naming the file and line: 13 for a code line that is not an
// integer (a blank one included), 62 for a code without its value line or an empty drawing.
class lector_grupos {
 public:
  lector_grupos(fuente& origen, std::filesystem::path fichero);

  // The next group, or nullptr at the end of the drawing. Inline for the common case, a
  // group with a short code: the readers ask for a few million of them per drawing.
  const grupo* siguiente() { return lee<false>(); }
  // The same, with the value line whole in `linea` as well: for the few values whose spaces
  // count (an MTEXT's pieces). Apart, so that the millions of other groups do not pay for it.
  const grupo* siguiente_entero() { return lee<true>(); }
  // The next group; the end of the drawing here is error 62, naming the kind of entity
  // ("POINT") that was open.
  template <bool entero = false>
  const grupo& exige(const char* entidad) {
    const grupo* g = lee<entero>();
    if (g == nullptr) termina_dentro(entidad);
    return *g;
  }
  // The group last returned comes again on the next read: a reader hands back the group 0
  // that ends its entity to the loop that owns it.
  void devuelve() noexcept {
    devuelto_ = true;
    desvio_ = true;
  }

  // Where the reading stands, to go back to after kept groups have been read.
  struct pausa {
    grupo actual;
    bool devuelto = false;
    const grupo_guardado* siguiente = nullptr;
    const grupo_guardado* fin = nullptr;
    const char* texto = nullptr;
  };
  // From here on the groups [desde, hasta), whose value lines stand in `texto`, are read as
  // if they came next, by the same readers and with their own lines, and after them nothing,
  // until reanuda(); the file is not read meanwhile. A block's content is read so, each time
  // it is drawn. Returns what reanuda() needs to go back to.
  pausa reproduce(const grupo_guardado* desde, const grupo_guardado* hasta, const char* texto) noexcept;
  void reanuda(const pausa& p) noexcept;
  // True once the last kept group has been returned.
  bool reproduccion_acabada() const noexcept { return guardado_ != nullptr && guardado_ == fin_guardado_; }

  const std::filesystem::path& fichero() const noexcept { return lineas_.fichero(); }
  std::int64_t num_linea() const noexcept { return lineas_.num_linea(); }

 private:
  template <bool entero>
  const grupo* lee() {
    // Every entity's group 0 comes twice: read by the reader it ends, handed back to the loop.
    // One test for it and for kept groups, which the converter reads only inside blocks.
    if (desvio_) {
      if (devuelto_) {
        devuelto_ = false;
        desvio_ = guardado_ != nullptr;
        return &actual_;
      }
      return siguiente_guardado();
    }
    std::string_view linea;
    if (terminado_ || !lineas_.lee(linea)) return sin_linea_de_codigo();
    const std::int64_t n = lineas_.num_linea();
    if (!codigo_corto(linea, actual_.codigo) && !codigo_general(linea, n)) return fin_en_blanco(n);
    if (!lineas_.lee(linea)) sin_valor(n);
    if constexpr (entero) actual_.linea = linea;
    actual_.valor = recorta(linea);
    actual_.num_linea = n;
    if (actual_.codigo == 0 && actual_.valor == "EOF") terminado_ = true;
    return &actual_;
  }

  // A code of one to three digits, spaces before it allowed ("  0", " 10", "8"), as nearly
  // every code is written; false for any other form, which codigo_general() reads. Without
  // branches on the characters: the codes of a drawing vary too much to predict.
  static constexpr bool codigo_corto(std::string_view l, int& codigo) noexcept {
    if (l.empty() || l.size() > 3) return false;
    // Seen as three columns, with the spaces a shorter line would have in front.
    const auto columna = [&](std::size_t i) -> unsigned {
      return i + l.size() < 3 ? unsigned{' '} : static_cast<unsigned char>(l[i + l.size() - 3]);
    };
    const unsigned c0 = columna(0), c1 = columna(1), c2 = columna(2);
    const unsigned d0 = c0 - '0', d1 = c1 - '0', d2 = c2 - '0';
    const bool e0 = c0 == ' ', e1 = c1 == ' ';
    // A space may only stand before the first digit.
    const bool valido = (d2 < 10) & ((d1 < 10) | e1) & ((d0 < 10) | e0) & (e0 | !e1);
    codigo = static_cast<int>(d2 + (e1 ? 0 : 10 * d1) + (e0 ? 0 : 100 * d0));
    return valido;
  }
  // Any other code line into actual_.codigo; false for a blank one. Errors 13 and 6.
  bool codigo_general(std::string_view linea, std::int64_t n);
  // What siguiente() gives when it reads no code line: the end.
  const grupo* sin_linea_de_codigo();
  [[noreturn]] void sin_valor(std::int64_t n) const;
  [[noreturn]] void termina_dentro(const char* entidad) const;
  const grupo* fin_en_blanco(std::int64_t primera_blanca);
  // The next kept group; null after the last.
  const grupo* siguiente_guardado() noexcept;

  lector_lineas lineas_;
  grupo actual_;
  bool devuelto_ = false;
  bool terminado_ = false;
  // Kept groups being read; null while the file is.
  const grupo_guardado* guardado_ = nullptr;
  const grupo_guardado* fin_guardado_ = nullptr;
  const char* texto_guardado_ = nullptr;
  // devuelto_ or kept groups being read: what lee() must not read the file for.
  bool desvio_ = false;
};

}  // namespace tolvar
