#pragma once

// The map preview's display list: a .bin read whole into flat arrays, as little per point as
// the drawing needs, with the codes it uses and an index of where each record lies. Read
// through the inspection reader, so that the preview refuses exactly what tolvar-cli dump
// refuses.

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/ficheros.h"
#include "ventana/disposicion.h"

namespace tolvar {

// A box in thousandths of a drawing unit, the northing whole (4,000,000,000 added back to
// what the file stores, but for triangles). Empty while x0 > x1.
struct caja_plano {
  std::int64_t x0 = 1, y0 = 1, x1 = 0, y1 = 0;

  bool vacia() const noexcept { return x0 > x1; }
  void amplia(std::int64_t x, std::int64_t y) noexcept;
  void amplia(const caja_plano& c) noexcept;
  bool corta(const caja_plano& c) const noexcept {
    return !vacia() && !c.vacia() && x0 <= c.x1 && c.x0 <= x1 && y0 <= c.y1 && c.y0 <= y1;
  }
  friend bool operator==(const caja_plano&, const caja_plano&) = default;
};

// How a record is drawn: its points joined (a closed record already repeats its first point),
// joined and closed (a triangle, which does not), one point as a cross, or a text's string.
enum class forma_plano : std::uint8_t { linea, poligono, cruz, texto };

// A point as the file stores it: thousandths, the northing less 4,000,000,000 but in
// triangles. 8 bytes: the height is not drawn.
struct punto_plano {
  std::int32_t x, y;
};

struct registro_plano {
  std::uint64_t primero = 0;   // its first point in puntos()
  std::uint32_t num = 0;       // its points; 0 for a record drawn as nothing
  std::uint32_t codigo = 0;    // in codigos()
  std::uint32_t texto = 0;     // a text's string in texto(); its height in alto
  std::int32_t alto = 0;       // a text's height, in thousandths
  forma_plano forma = forma_plano::linea;
  bool triangulo = false;      // its northings are stored whole

  // The northing of a stored y, in thousandths.
  std::int64_t norte(std::int32_t y) const noexcept;
};

// A code of the drawing, as the side panel lists it.
struct codigo_plano {
  std::array<char, 7> cod{};
  std::string nombre;          // UTF-8, without its padding
  std::uint64_t registros = 0;
  color_rgb color{};
  bool nuevo = false;          // the code of layers the table does not classify
};

// The colour of a code, from its seven bytes alone: the same on every run and every system.
// Nuevo is color_nuevo; no other code comes near red.
color_rgb color_codigo(const std::array<char, 7>& cod) noexcept;

// Packed Hilbert R-tree over boxes: records whose box meets a box are found without looking
// at the others.
class indice_plano {
 public:
  // The items are the non-empty boxes of `cajas`, named by their position there; the same
  // `cajas` must be handed to busca.
  void construye(const std::vector<caja_plano>& cajas);
  // Appends to `ids` the items whose box meets `c`, in no particular order.
  void busca(const std::vector<caja_plano>& cajas, const caja_plano& c,
             std::vector<std::uint32_t>& ids) const;
  std::size_t bytes() const noexcept;

 private:
  static constexpr std::size_t hijos = 16;
  std::vector<std::uint32_t> hojas_;        // items in Hilbert order of their centres
  std::vector<caja_plano> nodos_;           // every level above the leaves, lowest first
  std::vector<std::size_t> inicio_nivel_;   // where each level starts in nodos_
};

// A whole .bin, as the preview draws it.
class lista_plano {
 public:
  // Reads `bin` through `fs` twice (the first pass sizes the arrays, so that nothing is held
  // twice while growing). Throws what the inspection reader throws: error_bin for a torn or
  // foreign file, error_conversion when the system refuses it; error_conversion 7 for a file
  // of more than 4,294,967,295 records or points.
  static lista_plano lee(ficheros& fs, const std::filesystem::path& bin);

  const std::vector<registro_plano>& registros() const noexcept { return registros_; }
  const std::vector<punto_plano>& puntos() const noexcept { return puntos_; }
  // Each record's box: of its points, or a text's box of its characters times its height
  // from its insertion point; empty for a record without points.
  const std::vector<caja_plano>& cajas() const noexcept { return cajas_; }
  // Sorted by their bytes.
  const std::vector<codigo_plano>& codigos() const noexcept { return codigos_; }
  // A text record's string, UTF-8.
  std::string_view texto(const registro_plano& r) const noexcept;
  // Of every point and text box; empty for a file without points.
  const caja_plano& extension() const noexcept { return extension_; }
  // The records whose box meets `c`, in the order of the file.
  void busca(const caja_plano& c, std::vector<std::uint32_t>& ids) const;
  // What the list holds in memory.
  std::size_t bytes() const noexcept;

 private:
  std::vector<registro_plano> registros_;
  std::vector<punto_plano> puntos_;
  std::vector<codigo_plano> codigos_;
  std::string textos_;
  std::vector<std::uint32_t> fin_textos_;   // where each string ends in textos_
  std::vector<caja_plano> cajas_;
  caja_plano extension_;
  indice_plano indice_;
};

}  // namespace tolvar
