// comprueba_plano: the CI drives' check of a screenshot of the map preview, fitted, against
// the .bin it shows; given a second screenshot (the other toolkit's), also their agreement.
//   comprueba_plano FICHERO.bin VENTANA.ppm [OTRA_VENTANA.ppm]
// Exit status 0 when every check holds, 1 otherwise, 2 for a wrong call.
#include <exception>
#include <iostream>

#include "core/ficheros.h"
#include "ventana/pixeles_plano.h"

int main(int argc, char** argv) {
  using namespace tolvar;
  if (argc < 3 || argc > 4) {
    std::cerr << "usage: comprueba_plano FICHERO.bin VENTANA.ppm [OTRA_VENTANA.ppm]\n";
    return 2;
  }
  try {
    const prueba::imagen_rgb lienzo = prueba::recorta_lienzo(prueba::lee_ppm(argv[2]));
    if (lienzo.ancho == 0) {
      std::cerr << argv[2] << ": no canvas (no pixel of the map's background)\n";
      return 1;
    }
    ficheros_disco disco;
    visor_plano visor(disco);
    visor.tamano(lienzo.ancho, lienzo.alto);
    visor.pon_ficheros({argv[1]});
    if (!visor.error().empty()) {
      std::cerr << visor.error() << "\n";
      return 1;
    }
    const prueba::resultado_pixeles r = prueba::comprueba_pixeles(lienzo, visor);
    std::cout << argv[2] << ": canvas " << lienzo.ancho << "x" << lienzo.alto << ", " << r.resumen()
              << "\n";
    bool bien = r.bien();
    if (argc == 4) {
      const prueba::imagen_rgb otro = prueba::recorta_lienzo(prueba::lee_ppm(argv[3]));
      if (otro.ancho != lienzo.ancho || otro.alto != lienzo.alto) {
        std::cerr << argv[3] << ": canvas " << otro.ancho << "x" << otro.alto << ", not "
                  << lienzo.ancho << "x" << lienzo.alto << "\n";
        return 1;
      }
      const prueba::acuerdo_pixeles a = prueba::compara_lienzos(lienzo, otro, visor);
      std::cout << "against " << argv[3] << ": " << a.sin_pareja << " of " << a.mirados
                << " drawn pixels without the same colour within a pixel in the other\n";
      bien = bien && a.mirados > 0 && a.sin_pareja == 0;
    }
    return bien ? 0 : 1;
  } catch (const std::exception& e) {
    std::cerr << "comprueba_plano: " << e.what() << "\n";
    return 1;
  }
}
