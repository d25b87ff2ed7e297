#include <algorithm>

#include "core/conversor.h"
#include "core/error_conversion.h"
#include "core/texto.h"

namespace tolvar {
namespace {

bool es_dibujo(const std::filesystem::path& nombre) {
  const std::string ext = texto_ruta(nombre.extension());
  return ext.size() == 4 && ext[0] == '.' && (ext[1] | 0x20) == 'd' && (ext[2] | 0x20) == 'x' &&
         (ext[3] | 0x20) == 'f';
}

}  // namespace

void conversor::ProcesoLote() {
  if (e_.fich_dxf.empty()) return;
  ProcesoDirectorio(e_.fich_dxf.parent_path());
}

void conversor::ProcesoDirectorio(const std::filesystem::path& directorio) {
  e_.directorio = directorio.empty() ? std::filesystem::path(".") : directorio;

  // The whole listing comes first: converting writes into the directory being listed.
  std::vector<std::filesystem::path> lista_fich = fs_.lista(e_.directorio);
  std::erase_if(lista_fich, [](const std::filesystem::path& n) { return !es_dibujo(n); });
  if (lista_fich.size() > static_cast<std::size_t>(max_ficheros)) {
    const std::string n = std::to_string(lista_fich.size());
    throw error_conversion(subindice_fuera_de_rango,
                           {n + " drawings in the directory, more than the 1000 of a batch",
                            n + " dibujos en el directorio, más de los 1000 de un lote"},
                           e_.directorio);
  }
  // A fixed order, the same on every system: by the bytes of the names ("B.dxf" before "a.dxf").
  std::sort(lista_fich.begin(), lista_fich.end(),
            [](const std::filesystem::path& a, const std::filesystem::path& b) {
              return texto_ruta(a) < texto_ruta(b);
            });

  for (const std::filesystem::path& nombre : lista_fich) {
    e_.nombre_dxf = nombre;
    e_.fich_dxf = e_.directorio / nombre;
    ProcesoFichero();
  }
  if (lista_fich.empty()) vista_.sin_dibujos(e_.directorio);
  vista_.muestra_fin();
  vista_.puntero_espera(false);
}

}  // namespace tolvar
