// Without libFuzzer (GCC, MSVC) each target is this program: it runs the target once on every
// file named on its command line, every file of every directory named, or, with no
// argument, every file of its seed corpus. The targets then build and guard the corpus
// everywhere, even where they cannot fuzz.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t largo);

namespace {

std::vector<std::filesystem::path> entradas(const std::filesystem::path& ruta) {
  std::vector<std::filesystem::path> lista;
  if (std::filesystem::is_directory(ruta)) {
    for (const auto& e : std::filesystem::directory_iterator(ruta))
      if (e.is_regular_file()) lista.push_back(e.path());
    std::sort(lista.begin(), lista.end());
  } else {
    lista.push_back(ruta);
  }
  return lista;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::filesystem::path> rutas;
  for (int i = 1; i < argc; ++i) rutas.emplace_back(argv[i]);
  if (rutas.empty()) rutas.emplace_back(TOLVAR_CORPUS);

  std::size_t ejecutadas = 0;
  for (const auto& ruta : rutas) {
    for (const auto& fichero : entradas(ruta)) {
      std::ifstream f(fichero, std::ios::binary);
      if (!f) {
        std::fprintf(stderr, "cannot read %s\n", fichero.string().c_str());
        return 1;
      }
      const std::string datos((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
      LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(datos.data()), datos.size());
      ++ejecutadas;
    }
  }
  std::printf("%zu inputs run\n", ejecutadas);
  return ejecutadas > 0 ? 0 : 1;
}
