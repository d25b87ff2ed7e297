#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace tolvar {

// One point in thousandths of a drawing unit; written as 12 bytes x, y, z (little-endian).
// Plain data, so that 5001 of them are copied as one block (below); a point that starts at
// (0, 0, 0) is written tipo_punto p{}.
struct tipo_punto {
  std::int32_t x;
  std::int32_t y;
  std::int32_t z;
  friend bool operator==(const tipo_punto&, const tipo_punto&) = default;
};

// Highest point index of an entity; index 0 is never written.
inline constexpr std::int32_t max_puntos = 5000;
inline constexpr std::array<tipo_punto, max_puntos + 1> sin_puntos{};

// What the procedures of one conversion share, and nothing else.
struct estado_conversion {
  // The entity being built.
  bool elem_cerrado = false;
  bool EsTexto = false;
  std::string texto;
  double AlturaTexto = 0.0;     // height x 1000, not rounded
  std::string codigo;           // layer name, replaced in place by its code
  // Copied whole from a block of zeros, in one go: made point by point, the 5001 cost a
  // fuzzer, which makes a converter for every input, a fifth of its time.
  std::vector<tipo_punto> puntos = std::vector<tipo_punto>(sin_puntos.begin(), sin_puntos.end());
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
  // depend on which other drawings share its directory. The points need no clearing: every
  // reader sets each point it hands to the writer, from (0, 0, 0), before the writer reads it.
  void nuevo_dibujo() {
    elem_cerrado = false;
    EsTexto = false;
    texto.clear();
    AlturaTexto = 0.0;
    codigo.clear();
    num_puntos = 0;
  }
};

}  // namespace tolvar
