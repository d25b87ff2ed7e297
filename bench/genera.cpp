// tolvar-genera: writes drawings to measure the converter on, with the code table beside them.
#include <CLI/CLI.hpp>
#include <charconv>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>

#include "generador.h"

namespace {

namespace fs = std::filesystem;
using tolvar::banco::generador;

// "200" and "200M" are 200,000,000 bytes; "10K" and "2G" as expected. Decimal units, like
// the MB/s the benchmark prints.
std::optional<std::uint64_t> lee_tamano(const std::string& texto) {
  std::uint64_t n = 0;
  const char* fin = texto.data() + texto.size();
  const auto [p, ec] = std::from_chars(texto.data(), fin, n);
  if (ec != std::errc() || n == 0) return std::nullopt;
  std::uint64_t unidad = 1000000;
  if (p != fin) {
    if (p + 1 != fin) return std::nullopt;
    switch (*p) {
      case 'K': case 'k': unidad = 1000; break;
      case 'M': case 'm': unidad = 1000000; break;
      case 'G': case 'g': unidad = 1000000000; break;
      default: return std::nullopt;
    }
  }
  return n * unidad;
}

// Written in pieces of a few megabytes: a 2 GB drawing must not need 2 GB of memory.
bool escribe_dibujo(const fs::path& ruta, std::uint64_t semilla, std::uint64_t bytes, bool curvas) {
  constexpr std::size_t pieza = std::size_t{4} << 20;
  std::ofstream f(ruta, std::ios::binary | std::ios::trunc);
  if (!f) return false;
  generador g(semilla, curvas);
  std::string s;
  s.reserve(pieza + 65536);
  std::uint64_t escritos = 0;
  g.cabecera(s);
  while (escritos + s.size() < bytes) {
    g.entidad(s);
    if (s.size() >= pieza) {
      f.write(s.data(), static_cast<std::streamsize>(s.size()));
      escritos += s.size();
      s.clear();
    }
  }
  generador::pie(s);
  f.write(s.data(), static_cast<std::streamsize>(s.size()));
  f.close();
  return static_cast<bool>(f);
}

bool escribe_tabla(const fs::path& directorio) {
  const std::string_view tabla = tolvar::banco::tabla_codigos_banco();
  std::ofstream f(directorio / "dxfbin.tab", std::ios::binary | std::ios::trunc);
  f.write(tabla.data(), static_cast<std::streamsize>(tabla.size()));
  f.close();
  return static_cast<bool>(f);
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{
      "Writes a generated map drawing of the given size (or, with --lote, a directory of them)\n"
      "and the dxfbin.tab that classifies its layers, beside it. The same seed gives the same\n"
      "bytes.",
      "tolvar-genera"};
  std::string salida, tamano;
  std::uint64_t semilla = 1;
  int lote = 0;
  bool curvas = false;
  int bloques = 0;
  bool explotado = false;
  app.add_option("SALIDA", salida, "The drawing to write; with --lote, the directory")->required();
  CLI::Option* opcion_tamano = app.add_option("TAMANO", tamano, "Size: 200 or 200M (megabytes), 10K, 2G");
  app.add_option("--bloques", bloques,
                 "Instead of a sheet of TAMANO: this many INSERTs of one block of 50 entities")
      ->check(CLI::Range(1, 10000000));
  app.add_flag("--explotado", explotado,
               "With --bloques: the block's entities written out where each INSERT places them");
  app.add_option("--semilla", semilla, "Seed of the drawing (default 1)");
  app.add_option("--lote", lote, "Write this many drawings, each of TAMANO, into SALIDA")
      ->check(CLI::Range(1, 100000));
  app.add_flag("--curvas", curvas,
               "Bulges on half the vertices of 2D polylines, circles and arcs among the points");
  CLI11_PARSE(app, argc, argv);
  if (bloques > 0) {
    const fs::path ruta(salida);
    std::error_code ec;
    if (!ruta.parent_path().empty()) fs::create_directories(ruta.parent_path(), ec);
    std::ofstream f(ruta, std::ios::binary | std::ios::trunc);
    if (ec || !f || !escribe_tabla(ruta.parent_path().empty() ? fs::path(".") : ruta.parent_path())) {
      std::cerr << "tolvar-genera: cannot write " << ruta.string() << '\n';
      return 1;
    }
    tolvar::banco::dibujo_de_bloques(
        semilla, bloques, explotado,
        [](std::string& pieza, void* destino) {
          static_cast<std::ofstream*>(destino)->write(pieza.data(), static_cast<std::streamsize>(pieza.size()));
        },
        &f);
    f.close();
    return f ? 0 : 1;
  }
  if (opcion_tamano->count() == 0) {
    std::cerr << "tolvar-genera: TAMANO is required without --bloques\n";
    return 2;
  }

  const auto bytes = lee_tamano(tamano);
  if (!bytes) {
    std::cerr << "tolvar-genera: \"" << tamano << "\" is not a size such as 200M, 10K or 2G\n";
    return 2;
  }

  const fs::path ruta(salida);
  std::error_code ec;
  const fs::path directorio = lote > 0 ? ruta : ruta.parent_path();
  if (!directorio.empty()) fs::create_directories(directorio, ec);
  if (ec) {
    std::cerr << "tolvar-genera: cannot create " << directorio.string() << ": " << ec.message()
              << '\n';
    return 1;
  }
  if (!escribe_tabla(directorio.empty() ? fs::path(".") : directorio)) {
    std::cerr << "tolvar-genera: cannot write the code table in " << directorio.string() << '\n';
    return 1;
  }
  if (lote == 0) {
    if (!escribe_dibujo(ruta, semilla, *bytes, curvas)) {
      std::cerr << "tolvar-genera: cannot write " << ruta.string() << '\n';
      return 1;
    }
    return 0;
  }
  for (int i = 1; i <= lote; ++i) {
    std::string nombre = std::to_string(i);
    nombre.insert(0, nombre.size() < 4 ? 4 - nombre.size() : 0, '0');
    const fs::path dibujo = ruta / ("plano_" + nombre + ".dxf");
    if (!escribe_dibujo(dibujo, semilla + static_cast<std::uint64_t>(i), *bytes, curvas)) {
      std::cerr << "tolvar-genera: cannot write " << dibujo.string() << '\n';
      return 1;
    }
  }
  return 0;
}
