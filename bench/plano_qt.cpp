// The Qt window's whole redraw of the map preview, at the three zooms of plano.cpp: the
// composition and QPainter's drawing into an image of the canvas's size, offscreen.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QtGlobal>

#include "plano.h"
#include "ui/ventana_plano.h"

namespace tolvar::banco {
namespace {

void pinta_plano_qt(benchmark::State& estado) {
  const bin_plano& b = bin_del_banco();
  static visor_plano v(*b.fs);
  if (v.ficheros_lote().empty()) v.pon_ficheros({b.ruta});
  prepara_vista(v, static_cast<double>(estado.range(0)));
  QImage lienzo(v.vista().ancho(), v.vista().alto(), QImage::Format_RGB32);
  bool ida = true;
  for (auto _ : estado) {
    v.arrastra(ida ? 1 : -1, 0);
    ida = !ida;
    QPainter p(&lienzo);
    pinta_escena(p, v.lista(), v.escena(), lienzo.width(), lienzo.height());
  }
  estado.counters["registros"] = static_cast<double>(v.escena().registros);
}
BENCHMARK(pinta_plano_qt)->Arg(1)->Arg(16)->Arg(256)->ArgNames({"zoom"})->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tolvar::banco

int main(int argc, char** argv) {
  // Fonts and painting without a display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
