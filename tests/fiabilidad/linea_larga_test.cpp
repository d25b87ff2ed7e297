// A line of hundreds of megabytes without a line end (a binary file, a broken export) must be
// error 6 naming its line, read through a bounded buffer rather than swallowed whole.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "fiabilidad.h"

namespace tolvar::prueba {
namespace {

namespace fs = std::filesystem;

constexpr std::uint64_t trescientos_mb = std::uint64_t{300} << 20;
// The line reader gives up once it holds more than 1 MiB of a line, with a read or two of
// 512 KiB in hand; reading much past that would mean it tried to hold the line.
constexpr std::uint64_t max_leido = std::uint64_t{4} << 20;

// `inicio`, then `relleno` bytes 'x' and nothing else, made as they are asked for and never
// held anywhere; `servidos` counts what was handed out.
class fuente_generada final : public fuente {
 public:
  fuente_generada(std::string inicio, std::uint64_t relleno, std::uint64_t& servidos)
      : inicio_(std::move(inicio)), restante_(relleno), servidos_(servidos) {}

  std::size_t lee(char* destino, std::size_t max) override {
    std::size_t n = 0;
    if (pos_ < inicio_.size()) {
      n = std::min(max, inicio_.size() - pos_);
      std::memcpy(destino, inicio_.data() + pos_, n);
      pos_ += n;
    } else {
      n = static_cast<std::size_t>(std::min<std::uint64_t>(max, restante_));
      std::memset(destino, 'x', n);
      restante_ -= n;
    }
    servidos_ += n;
    return n;
  }

 private:
  std::string inicio_;
  std::size_t pos_ = 0;
  std::uint64_t restante_;
  std::uint64_t& servidos_;
};

// Memory files, except that one path opens as a generated file.
class ficheros_con_generado final : public ficheros {
 public:
  ficheros_con_generado(ficheros_memoria& base, fs::path generado, std::string inicio,
                        std::uint64_t relleno)
      : base_(base), generado_(std::move(generado)), inicio_(std::move(inicio)), relleno_(relleno) {}

  std::uint64_t servidos = 0;

  std::unique_ptr<fuente> abre(const fs::path& ruta) override {
    if (ruta.lexically_normal() == generado_.lexically_normal())
      return std::make_unique<fuente_generada>(inicio_, relleno_, servidos);
    return base_.abre(ruta);
  }
  std::unique_ptr<sumidero> crea(const fs::path& ruta) override { return base_.crea(ruta); }
  std::vector<fs::path> lista(const fs::path& directorio) override { return base_.lista(directorio); }

 private:
  ficheros_memoria& base_;
  fs::path generado_;
  std::string inicio_;
  std::uint64_t relleno_;
};

TEST(linea_larga, trescientos_mb_sin_fin_de_linea_es_6_con_memoria_acotada) {
  const struct {
    const char* nombre;
    const char* generado;   // the file whose content is generated
    std::string inicio;     // what comes before the 300 MB line
    std::int64_t num_linea;
    std::optional<std::string> a_bin;  // none: a.bin is never created
  } casos[] = {
      // The point is finished by the group 0 of the TEXT; the TEXT's string never ends.
      {"string_de_un_text", "d/a.dxf", point_dxf + dibujo({"  0", "TEXT", "  1"}), 14, point_bin},
      {"desde_el_primer_byte", "d/a.dxf", "", 1, ""},
      {"fila_de_la_tabla", "d/dxfbin.tab", "0101 CAPA\r\n", 2, std::nullopt},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.nombre);
    ficheros_memoria memoria;
    memoria.pon("d/dxfbin.tab", "0101 CAPA\r\n");
    memoria.pon("d/a.dxf", "");  // listed; its bytes come from the generator
    ficheros_con_generado ficheros(memoria, c.generado, c.inicio, trescientos_mb);
    vista_registro vista;
    conversor conv(vista, ficheros);
    conv.estado().fich_dxf = "d/a.dxf";
    std::optional<error_conversion> e;
    try {
      conv.ProcesoLote();
    } catch (const error_conversion& fallo) {
      e = fallo;
    }
    comprueba_fallo(e, desbordamiento, fs::path(c.generado), c.num_linea);
    EXPECT_LE(ficheros.servidos, max_leido);
    EXPECT_EQ(memoria.lee("d/a.bin"), c.a_bin);
  }
}

}  // namespace
}  // namespace tolvar::prueba
