#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/error_conversion.h"
#include "core/estado_conversion.h"
#include "core/ficheros.h"
#include "core/numeros.h"
#include "output/registro.h"

namespace tolvar {

// The longest record a writer can produce: num_elem at its 16-bit top, plus the attribute.
inline constexpr std::size_t max_bytes_registro =
    bytes_cabecera + bytes_ventana + bytes_unidad * max_16 + bytes_unidad;

// One entity record as it lies in a .bin file.
struct registro_bin {
  std::uint64_t desplazamiento = 0;  // of its first byte in the file
  std::uint64_t orden = 0;           // 1 for the first record of the file
  std::array<char, 2> clase{};       // "C=" or "T="
  std::array<char, 7> cod{};
  std::uint8_t atr = 0;
  std::int16_t num_elem = 0;
  // xmin, ymin, zmin, xmax, ymax, zmax, dato1, dato2, dato3.
  std::array<std::int32_t, 9> ventana{};
  // The point units; in a text only its insertion point.
  std::vector<tipo_punto> puntos;
  // The text units joined, up to the 0x00 byte that ends the text (all of them when the
  // text fills its last unit); empty outside texts.
  std::string texto;
  std::size_t unidades_texto = 0;
  // The attribute unit, meaningful when atr is 1.
  std::int16_t num_atr = 0;
  std::int32_t valor_atr = 0;
  std::array<char, 6> cod_atr{};

  bool es_texto() const noexcept { return clase[0] == 'T'; }
  // Triangles are known only by their code; their northing is stored as it is.
  bool es_triangulo() const noexcept;
  // A closed polyline repeats its first point last. An open one that ends where it began
  // reads the same, and looks the same on a map.
  bool cerrado() const noexcept {
    return !es_texto() && !es_triangulo() && puntos.size() > 1 && puntos.back() == puntos.front();
  }
  // The code without the 0x00 bytes that pad it.
  std::string_view cod_sin_relleno() const noexcept;
  // The northing of a stored y, in thousandths, with desplazamiento_y added back where it
  // was taken off.
  std::int64_t norte(std::int32_t y) const noexcept {
    return es_triangulo() ? y : std::int64_t{y} + desplazamiento_y;
  }
  std::size_t bytes() const noexcept {
    return bytes_cabecera + bytes_ventana + bytes_unidad * static_cast<std::size_t>(num_elem) +
           (atr == 1 ? bytes_unidad : 0);
  }
};

// A .bin that does not divide into whole records. numero() is 62 when the file ends inside
// a record and 1 when a header holds what no writer puts there; what() names the record,
// its offset and the file.
class error_bin : public error_conversion {
 public:
  static constexpr int no_es_registro = 1;

  error_bin(int numero, std::uint64_t orden, std::uint64_t desplazamiento, texto_error que,
            const std::filesystem::path& fichero);

  const char* what() const noexcept override { return mensaje_.c_str(); }
  std::string mensaje(idioma en) const override;
  std::uint64_t desplazamiento() const noexcept { return desplazamiento_; }
  std::uint64_t orden() const noexcept { return orden_; }

 private:
  std::uint64_t orden_;
  std::uint64_t desplazamiento_;
  std::string mensaje_;
};

// Reads a .bin one record at a time, holding at most one block of it: memory stays the same
// whatever the size of the file.
class lector_bin {
 public:
  lector_bin(fuente& origen, std::filesystem::path fichero);

  // The next record into `r` (its vectors are reused); false at the end of the file, when
  // the last record ended exactly there. Throws error_bin for a broken record, leaving the
  // records before it read, and error_conversion when the system refuses the read.
  bool siguiente(registro_bin& r);

  // Bytes taken by whole records so far: the offset of the next record.
  std::uint64_t desplazamiento() const noexcept { return desplazamiento_; }
  std::uint64_t registros() const noexcept { return registros_; }
  const std::filesystem::path& fichero() const noexcept { return fichero_; }

 private:
  bool asegura(std::size_t n);
  [[noreturn]] void rompe(int numero, texto_error que) const;

  fuente& origen_;
  std::filesystem::path fichero_;
  std::unique_ptr<char[]> buffer_;
  const char* ini_;
  const char* fin_;
  bool agotado_ = false;
  std::uint64_t desplazamiento_ = 0;
  std::uint64_t registros_ = 0;
};

}  // namespace tolvar
