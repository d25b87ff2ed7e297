#pragma once

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace tolvar {

// One point in thousandths of a drawing unit; written as 12 bytes x, y, z (little-endian).
struct tipo_punto {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t z = 0;
  friend bool operator==(const tipo_punto&, const tipo_punto&) = default;
};

// Highest point index of an entity; index 0 is never written.
inline constexpr std::int32_t max_puntos = 5000;

// What the procedures of one conversion share, and nothing else.
struct estado_conversion {
  // The entity being built.
  bool elem_cerrado = false;
  bool EsTexto = false;
  std::string texto;
  double AlturaTexto = 0.0;     // height x 1000, not rounded
  std::string codigo;           // layer name, replaced in place by its code
  std::vector<tipo_punto> puntos = std::vector<tipo_punto>(max_puntos + 1);
  std::int32_t num_puntos = 0;

  // The run's files.
  std::filesystem::path fich_dxf;    // the drawing; before a batch, the path the user chose
  std::filesystem::path fich_bin;
  std::filesystem::path fich_err;
  std::filesystem::path fich_tab;
  std::filesystem::path directorio;
  std::filesystem::path nombre_base; // the drawing's file name without its ".dxf"
  std::filesystem::path nombre_dxf;  // the file name the listing gave last

  // Each drawing starts from the same state, so that what a drawing converts to does not
  // depend on which other drawings share its directory.
  void nuevo_dibujo() {
    elem_cerrado = false;
    EsTexto = false;
    texto.clear();
    AlturaTexto = 0.0;
    codigo.clear();
    std::fill(puntos.begin(), puntos.end(), tipo_punto{});
    num_puntos = 0;
  }
};

}  // namespace tolvar
