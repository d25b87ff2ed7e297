#pragma once

// Drawings for measuring: map sheets as surveyors' software writes them (R12, codes
// right-aligned in three columns, CR LF), of any size, the same bytes for the same seed on
// every system.

#include <cstdint>
#include <string>
#include <string_view>

namespace tolvar::banco {

// splitmix64: the standard library's engines are portable but its distributions are not,
// and a drawing must not change with the compiler that generated it.
class azar {
 public:
  explicit azar(std::uint64_t semilla) noexcept : s_(semilla) {}
  std::uint64_t siguiente() noexcept;
  // Uniform in [lo, hi].
  std::int64_t entre(std::int64_t lo, std::int64_t hi) noexcept;
  // Uniform in [0, 1).
  double unidad() noexcept;
  bool probabilidad(double p) noexcept { return unidad() < p; }

 private:
  std::uint64_t s_;
};

// Writes a drawing piece by piece into `salida` and hands each full piece to `vacia`, so
// that a drawing of gigabytes never sits in memory.
class generador {
 public:
  // With `curvas`, a sheet drawn by a CAD program rather than surveyed: half the vertices of
  // its 2D polylines carry a bulge (an arc to the next vertex), and circles and arcs take
  // the place of some points.
  explicit generador(std::uint64_t semilla, bool curvas = false)
      : azar_(semilla), curvas_(curvas) {}

  // HEADER, TABLES (with the LAYER table), BLOCKS and the start of ENTITIES.
  void cabecera(std::string& salida);
  // One entity of the mix: polylines (2D and 3D, 2 to 200 vertices, some closed), points,
  // texts with their optional groups, and a few block inserts.
  void entidad(std::string& salida);
  // The end of ENTITIES and the EOF group.
  static void pie(std::string& salida);

  // A group as these drawings write it: the code right-aligned in three columns, CR LF; a
  // value in thousandths as a decimal with three places.
  static void codigo(std::string& s, int c);
  static void grupo(std::string& s, int c, std::string_view v);
  static void milesimas(std::string& s, int c, std::int64_t v);

 private:
  void polilinea(std::string& s);
  void punto(std::string& s);
  void texto(std::string& s);
  void insercion(std::string& s);
  void circulo(std::string& s, bool arco);
  std::string_view capa(int tipo);
  void salta_posicion();

  azar azar_;
  bool curvas_;
  std::int64_t x_ = 450000000, y_ = 4470000000;  // thousandths of a metre
  int capa_actual_[3] = {0, 0, 0};
};

// The drawing of the blocks' benchmark: `inserciones` INSERTs, scattered over the sheet, of one
// block of 50 entities around its origin (lines, polylines, points, texts, circles, arcs,
// half of them on layer "0"); or, `explotado`, the same entities written out in ENTITIES where
// each INSERT places them, on the layer it gives them. Converted with --blocks, both write the
// same records. Pieces of a few MB go to `vacia` as they fill.
void dibujo_de_bloques(std::uint64_t semilla, int inserciones, bool explotado,
                       void (*vacia)(std::string& pieza, void* destino), void* destino);

// A whole drawing of about `bytes` bytes (never less), in memory: for the micro-benchmarks.
std::string dibujo_en_memoria(std::uint64_t semilla, std::uint64_t bytes);

// The code table that classifies most of the layers the generator uses and leaves a few out,
// so that the error list has lines to write as a real one does.
std::string_view tabla_codigos_banco();

}  // namespace tolvar::banco
