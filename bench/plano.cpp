// The map preview: opening the 200 MB drawing's .bin into its display list, and one redraw
// (what the toolkit is handed) at three zooms. The toolkit's own drawing is plano_qt.cpp's.
#include <benchmark/benchmark.h>

#include <cmath>

#include "plano.h"

namespace tolvar::banco {
namespace {

void abre_plano(benchmark::State& estado) {
  const bin_plano& b = bin_del_banco();
  std::size_t bytes = 0, puntos = 0, registros = 0;
  for (auto _ : estado) {
    const lista_plano l = lista_plano::lee(*b.fs, b.ruta);
    bytes = l.bytes();
    puntos = l.puntos().size();
    registros = l.registros().size();
    benchmark::DoNotOptimize(l.extension());
  }
  estado.counters["registros"] = static_cast<double>(registros);
  estado.counters["puntos"] = static_cast<double>(puntos);
  estado.counters["MB_lista"] = static_cast<double>(bytes) / 1e6;
  estado.counters["bytes_punto"] = static_cast<double>(bytes) / static_cast<double>(puntos);
}
BENCHMARK(abre_plano)->Unit(benchmark::kMillisecond)->Iterations(3);

// Argument: how many times closer than the whole map.
void redibuja_plano(benchmark::State& estado) {
  const bin_plano& b = bin_del_banco();
  static visor_plano v(*b.fs);
  if (v.ficheros_lote().empty()) v.pon_ficheros({b.ruta});
  prepara_vista(v, static_cast<double>(estado.range(0)));
  std::size_t registros = 0, puntos = 0;
  bool ida = true;
  for (auto _ : estado) {
    // A drag of one pixel and back: each redraw composes anew, as the window's do.
    v.arrastra(ida ? 1 : -1, 0);
    ida = !ida;
    const escena_plano& e = v.escena();
    registros = e.registros;
    puntos = e.puntos.size();
    benchmark::DoNotOptimize(e.puntos.data());
  }
  estado.counters["registros"] = static_cast<double>(registros);
  estado.counters["puntos_dibujados"] = static_cast<double>(puntos);
}
BENCHMARK(redibuja_plano)->Arg(1)->Arg(16)->Arg(256)->ArgNames({"zoom"})->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tolvar::banco
