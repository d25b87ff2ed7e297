// Arbitrary bytes as the code table "dxfbin.tab", with a fixed drawing of one entity of each
// kind, each on a layer of its own.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "comun.h"
#include "core/conversor.h"
#include "support/ficheros_memoria.h"

namespace {

using namespace tolvar;
using namespace tolvar::fuzz;

constexpr std::string_view dibujo =
    "  0\nPOLYLINE\n  8\nCAPA\n 70\n1\n"
    "  0\nVERTEX\n 10\n10\n 20\n4000010\n 30\n1\n"
    "  0\nVERTEX\n 10\n20\n 20\n4000010\n 30\n2\n"
    "  0\nVERTEX\n 10\n20\n 20\n4000020\n 30\n3\n"
    "  0\nSEQEND\n"
    "  0\nPOINT\n  8\nCURVA NIVEL 5\n 10\n1.5\n 20\n4000002.25\n 30\n0\n"
    "  0\nTEXT\n  8\nRIO\n 10\n1.5\n 20\n4000002.25\n 30\n0\n 40\n2.5\n  1\nABC\n"
    "  0\nTRIANG\n  8\nCAPA\n 10\n1\n 20\n2\n 30\n3\n 11\n4\n 21\n5\n 31\n6\n 12\n7\n 22\n8\n 32\n9\n"
    "  0\nEOF\n";
// The layer of each record, in the order written; the triangle has none.
constexpr std::array<std::string_view, 3> capas = {"CAPA", "CURVA NIVEL 5", "RIO"};

// The four records, with the code bytes (2 to 8) of the first three left to the table. The
// triangle's code is always TRIANG.
const std::string esperados[4] = {
    std::string("C=.......\0\4\0"
                "\x10\x27\0\0\x10\x27\0\0\xE8\x03\0\0"
                "\x20\x4E\0\0\x20\x4E\0\0\xB8\x0B\0\0"
                "\x14\0\0\0\x06\0\0\0\xA5\x07\0\0"
                "\x10\x27\0\0\x10\x27\0\0\xE8\x03\0\0"
                "\x20\x4E\0\0\x10\x27\0\0\xD0\x07\0\0"
                "\x20\x4E\0\0\x20\x4E\0\0\xB8\x0B\0\0"
                "\x10\x27\0\0\x10\x27\0\0\xE8\x03\0\0", 96),
    std::string("C=.......\0\1\0"
                "\xDC\x05\0\0\xCA\x08\0\0\0\0\0\0"
                "\xDC\x05\0\0\xCA\x08\0\0\0\0\0\0"
                "\x14\0\0\0\x06\0\0\0\xA5\x07\0\0"
                "\xDC\x05\0\0\xCA\x08\0\0\0\0\0\0", 60),
    std::string("T=.......\0\2\0"
                "\xDC\x05\0\0\xCA\x08\0\0\0\0\0\0"
                "\x28\x23\0\0\x8E\x12\0\0\0\0\0\0"
                "\xC4\x09\0\0\0\0\0\0\0\0\0\0"
                "\xDC\x05\0\0\xCA\x08\0\0\0\0\0\0"
                "ABC\0        ", 72),
    std::string("C=TRIANG\0\0\3\0"
                "\xE8\x03\0\0\xD0\x07\0\0\xB8\x0B\0\0"
                "\x58\x1B\0\0\x40\x1F\0\0\x28\x23\0\0"
                "\x14\0\0\0\x06\0\0\0\xA5\x07\0\0"
                "\xE8\x03\0\0\xD0\x07\0\0\xB8\x0B\0\0"
                "\xA0\x0F\0\0\x88\x13\0\0\x70\x17\0\0"
                "\x58\x1B\0\0\x40\x1F\0\0\x28\x23\0\0", 84),
};

// The .err lines, in order, each one of the layers and each layer at most once.
std::array<bool, 3> sin_clasificar(std::string_view err) {
  std::array<bool, 3> listadas{};
  std::size_t siguiente = 0;
  while (!err.empty()) {
    const std::size_t fin = err.find("\r\n");
    const std::string_view linea = err.substr(0, fin);
    while (siguiente < capas.size() && capas[siguiente] != linea) ++siguiente;
    if (siguiente == capas.size()) falla("a .err line that is no layer of the drawing, or out of order");
    listadas[siguiente++] = true;
    err.remove_prefix(fin + 2);
  }
  return listadas;
}

struct resultado {
  std::optional<std::string> bin, err;
  std::optional<error_conversion> error;
};

// The code page the table is read into, from its size and last bytes: tables in UTF-8 meet
// every page as the fuzzer mutates them.
pagina_codigos pagina_de(std::string_view entrada) {
  std::uint32_t h = 2166136261u ^ static_cast<std::uint32_t>(entrada.size());  // FNV-1a
  for (const char c : entrada.substr(entrada.size() - std::min<std::size_t>(entrada.size(), 8)))
    h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
  return static_cast<pagina_codigos>(h % 9);
}

resultado convierte(ficheros_memoria& fs, ficheros& por_donde, std::string_view entrada) {
  vista_muda vista;
  conversor conv(vista, por_donde);
  conv.opciones().pagina_salida = pagina_de(entrada);
  fs.contenido.clear();
  fs.pon("d/dxfbin.tab", std::string(entrada));
  fs.pon("d/a.dxf", std::string(dibujo));
  // Left by an earlier batch: a table that fails to load must not take it.
  fs.pon("d/a.bin", "viejo");
  resultado r;
  r.error = convierte_lote(conv, "d/a.dxf");
  r.bin = fs.lee("d/a.bin");
  r.err = fs.lee("d/a.err");
  return r;
}

void comprueba(const resultado& r, std::string_view entrada) {
  if (r.error) {
    comprueba_error(*r.error, {argumento_no_valido, desbordamiento}, "d/dxfbin.tab",
                    cuenta_lineas(entrada), false);
    if (r.bin != "viejo" || r.err.has_value())
      falla("a table that failed to load touched the drawing's outputs");
    return;
  }
  if (!r.bin || !r.err) falla("a converted drawing without its .bin or .err");
  comprueba_err(*r.err);
  const std::array<bool, 3> listadas = sin_clasificar(*r.err);
  const auto lista = registros(*r.bin, false);
  if (lista.size() != 4) falla("the drawing did not give its four records");
  for (std::size_t i = 0; i < 4; ++i) {
    std::string reg(lista[i]);
    if (i < 3) {
      const std::string_view cod = std::string_view(reg).substr(2, 7);
      if (listadas[i] ? cod != std::string_view("Nuevo\0\0", 7)
                      : cod.find_first_of(" \r\n") != std::string_view::npos)
        falla("record " + std::to_string(i + 1) + " has a code no table row can give");
      reg.replace(2, 7, ".......");
    }
    if (reg != esperados[i]) falla("record " + std::to_string(i + 1) + " differs beyond its code");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t largo) {
  const std::string_view entrada(reinterpret_cast<const char*>(datos), largo);
  ficheros_memoria fs;
  const resultado entero = convierte(fs, fs, entrada);
  comprueba(entero, entrada);

  ficheros_a_trozos a_trozos(fs);
  const resultado trozos = convierte(fs, a_trozos, entrada);
  if (trozos.bin != entero.bin || trozos.err != entero.err ||
      trozos.error.has_value() != entero.error.has_value() ||
      (entero.error && (entero.error->numero() != trozos.error->numero() ||
                        entero.error->num_linea() != trozos.error->num_linea())))
    falla("the table loads differently when its bytes arrive in small pieces");
  return 0;
}
