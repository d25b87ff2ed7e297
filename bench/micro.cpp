// Micro-benchmarks of the three loops a conversion spends its time in: splitting the
// drawing into groups, the coordinate rule, and building records. The whole-process figures
// come from ejecuta.sh; these say which part moved.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "core/conversor.h"
#include "core/lector_grupos.h"
#include "core/numeros.h"
#include "generador.h"
#include "output/registro.h"
#include "support/ficheros_memoria.h"
#include "support/vista_muda.h"

namespace {

using namespace tolvar;

constexpr std::uint64_t bytes_dibujo = 8000000;

const std::string& dibujo() {
  static const std::string d = banco::dibujo_en_memoria(7, bytes_dibujo);
  return d;
}

// A drawing read straight from memory, so that the figure is the reader's and not the disk's.
class fuente_memoria final : public fuente {
 public:
  explicit fuente_memoria(std::string_view datos) : resto_(datos) {}
  std::size_t lee(char* destino, std::size_t max) override {
    const std::size_t n = std::min(max, resto_.size());
    std::memcpy(destino, resto_.data(), n);
    resto_.remove_prefix(n);
    return n;
  }

 private:
  std::string_view resto_;
};

void lector_lineas_dibujo(benchmark::State& estado) {
  const std::string& d = dibujo();
  for (auto _ : estado) {
    fuente_memoria f(d);
    lector_lineas l(f, "banco.dxf");
    std::string_view linea;
    std::size_t n = 0;
    while (l.lee(linea)) n += linea.size();
    benchmark::DoNotOptimize(n);
  }
  estado.SetBytesProcessed(static_cast<std::int64_t>(estado.iterations()) *
                           static_cast<std::int64_t>(d.size()));
}
BENCHMARK(lector_lineas_dibujo)->Unit(benchmark::kMillisecond);

void lector_grupos_dibujo(benchmark::State& estado) {
  const std::string& d = dibujo();
  for (auto _ : estado) {
    fuente_memoria f(d);
    lector_grupos l(f, "banco.dxf");
    std::int64_t suma = 0;
    while (const grupo* g = l.siguiente())
      suma += g->codigo + static_cast<std::int64_t>(g->valor.size());
    benchmark::DoNotOptimize(suma);
  }
  estado.SetBytesProcessed(static_cast<std::int64_t>(estado.iterations()) *
                           static_cast<std::int64_t>(d.size()));
}
BENCHMARK(lector_grupos_dibujo)->Unit(benchmark::kMillisecond);

// Argument: 0 eastings and 1 northings as the generated drawings write them, in metres
// with three decimals; 2 eastings with six, which are rounded to thousandths on the way.
std::vector<std::string> coordenadas(std::int64_t forma) {
  banco::azar a(11);
  std::vector<std::string> v;
  for (int i = 0; i < 4096; ++i) {
    const bool norte = forma == 1;
    const std::int64_t m = norte ? a.entre(4100000000, 4800000000) : a.entre(200000000, 800000000);
    std::string s = std::to_string(m / 1000) + '.';
    const std::string f = std::to_string(m % 1000);
    s.append(3 - f.size(), '0');
    s += f;
    if (forma == 2) s += std::to_string(a.entre(100, 999));
    v.push_back(s);
  }
  return v;
}

void regla_coordenadas(benchmark::State& estado) {
  const std::int64_t forma = estado.range(0);
  const std::vector<std::string> v = coordenadas(forma);
  std::size_t i = 0;
  for (auto _ : estado) {
    benchmark::DoNotOptimize(escala_coord(v[i], forma == 1));
    i = (i + 1) & 4095;
  }
  estado.SetItemsProcessed(static_cast<std::int64_t>(estado.iterations()));
}
BENCHMARK(regla_coordenadas)->Arg(0)->Arg(1)->Arg(2)->ArgNames({"forma"});

// Argument: the number of points of a polyline; 0 makes a text instead.
void escritor_registros(benchmark::State& estado) {
  const auto n = static_cast<std::int32_t>(estado.range(0));
  estado_conversion e;
  for (std::int32_t i = 1; i <= std::max(n, 1); ++i) {
    e.puntos[static_cast<std::size_t>(i)] = {452100125 + i * 1000, 470310500 - i * 700, 1100000};
  }
  std::string registro;
  for (auto _ : estado) {
    e.codigo = "VI00002";
    e.EsTexto = n == 0;
    e.num_puntos = std::max(n, 1);
    e.elem_cerrado = n > 2;
    e.texto = "Ermita de San Roque";
    e.AlturaTexto = 2500.0;
    compone_registro(e, false, registro);
    benchmark::DoNotOptimize(registro.data());
  }
  estado.SetItemsProcessed(static_cast<std::int64_t>(estado.iterations()));
}
BENCHMARK(escritor_registros)->Arg(0)->Arg(1)->Arg(60)->ArgNames({"puntos"});

// The whole conversion on memory files: everything but the disk.
void conversion_completa(benchmark::State& estado) {
  const std::string& d = dibujo();
  for (auto _ : estado) {
    estado.PauseTiming();
    ficheros_memoria fs;
    fs.pon("d/dxfbin.tab", std::string(banco::tabla_codigos_banco()));
    fs.pon("d/banco.dxf", d);
    vista_muda vista;
    conversor c(vista, fs);
    estado.ResumeTiming();
    c.ProcesoDirectorio("d");
    benchmark::DoNotOptimize(c.cuentas());
  }
  estado.SetBytesProcessed(static_cast<std::int64_t>(estado.iterations()) *
                           static_cast<std::int64_t>(d.size()));
}
BENCHMARK(conversion_completa)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
