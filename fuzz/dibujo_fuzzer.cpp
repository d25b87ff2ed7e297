// Arbitrary bytes as a drawing, converted by the real core on memory files three times: in a
// batch after another drawing with the attribute option off; alone with it on; alone again
// with the option off and the bytes arriving in small pieces. The kinds read on request, the
// arcs, the blocks and the outputs' code page come from the input's own bytes, the same for
// the three runs.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "comun.h"
#include "core/conversor.h"
#include "support/ficheros_memoria.h"

namespace {

using namespace tolvar;
using namespace tolvar::fuzz;

// "0.dxf" sorts before the fuzzed "a.dxf": its outputs show whether a later drawing's
// failure, or the state the previous run left behind, reaches what was converted before.
constexpr std::string_view tabla =
    "0101 CAPA\r\nVI00001 CURVA NIVEL\r\nCA01 CAMI\xD1O\r\nTO01 TOPONIMO\r\n";
constexpr std::string_view dibujo_previo =
    "  0\r\nPOINT\r\n  8\r\nCAPA\r\n 10\r\n1.5\r\n 20\r\n4000002.25\r\n 30\r\n0.0\r\n  0\r\nEOF\r\n";
// The point (1.5, 4000002.25, 0) on layer CAPA, code 0101.
constexpr char bin_previo[] =
    "C=0101\0\0\0\0\1\0"
    "\xDC\x05\0\0\xCA\x08\0\0\0\0\0\0"
    "\xDC\x05\0\0\xCA\x08\0\0\0\0\0\0"
    "\x14\0\0\0\x06\0\0\0\xA5\x07\0\0"
    "\xDC\x05\0\0\xCA\x08\0\0\0\0\0\0";
constexpr char unidad_atributo[] = "\1\0\0\0\0\0" "201   ";

// The options, from a hash of the input's size and last bytes: every byte stays the drawing's,
// and the seeds of each reader and each code page meet every option as the fuzzer mutates
// them. Not the whole input, which would cost as much as a conversion of it.
opciones_conversion opciones_de(std::string_view entrada) {
  std::uint32_t h = 2166136261u ^ static_cast<std::uint32_t>(entrada.size());  // FNV-1a
  for (const char c : entrada.substr(entrada.size() - std::min<std::size_t>(entrada.size(), 8)))
    h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
  opciones_conversion o;
  std::uint32_t bit = 1;
  for (const tipo_a_peticion& t : tipos_a_peticion) {
    o.tambien.*(t.pedido) = (h & bit) != 0;
    bit <<= 1;
  }
  o.arcos = (h & bit) != 0;
  o.bloques = (h & (bit << 1)) != 0;
  // The tolerance decides how many points a curve costs, not which code draws it: one input
  // in 32 one so fine that every curve meets the 5000-point bound, one in 4 the default, the
  // rest a coarse one that leaves each curve its segment per 45 degrees. Computed to the
  // default's hundreds of points three times over on every input, curves took a third of
  // the fuzzer's speed. From the hash's top bits, mixed, so that any set of kinds meets each.
  const std::uint32_t mezcla = (h * 2654435761u) >> 27;
  o.tolerancia = mezcla == 0 ? 1e-9 : mezcla < 9 ? tolerancia_por_defecto : 1e9;
  o.pagina_salida = static_cast<pagina_codigos>((h >> 16) % 9);
  return o;
}

struct resultado {
  std::string bin;
  std::string err;
  std::optional<error_conversion> error;
};

// The batch of "0.dxf" and the fuzzed "a.dxf".
resultado en_lote(conversor& conv, ficheros_memoria& fs, std::string_view entrada) {
  fs.contenido.clear();
  fs.pon("d/dxfbin.tab", std::string(tabla));
  fs.pon("d/0.dxf", std::string(dibujo_previo));
  fs.pon("d/a.dxf", std::string(entrada));
  resultado r;
  r.error = convierte_lote(conv, "d/a.dxf");
  // Any other exception leaves the target uncaught, and libFuzzer reports it as a crash.
  return r;
}

// "a.dxf" alone, with a converter that converted nothing before.
resultado solo(conversor& conv, ficheros_memoria& fs, std::string_view entrada) {
  fs.contenido.clear();
  fs.pon("d/dxfbin.tab", std::string(tabla));
  fs.pon("d/a.dxf", std::string(entrada));
  resultado r;
  try {
    conv.estado().directorio = "d";
    conv.estado().fich_dxf = "d/a.dxf";
    conv.ProcesoFichero();
  } catch (const error_conversion& e) {
    r.error = e;
  }
  return r;
}

void comprueba(const ficheros_memoria& fs, resultado& r, bool atributo,
               std::int64_t lineas, bool vacio) {
  if (fs.lee("d/0.dxf").has_value()) {
    std::string previo(bin_previo, sizeof bin_previo - 1);
    if (atributo) {
      previo[9] = 1;
      previo.append(unidad_atributo, 12);
    }
    if (fs.lee("d/0.bin") != previo) falla("the earlier drawing's .bin changed");
    if (fs.lee("d/0.err") != std::string()) falla("the earlier drawing's .err changed");
  }

  const auto bin = fs.lee("d/a.bin");
  const auto err = fs.lee("d/a.err");
  if (r.error) {
    // The drawing is opened after both outputs are created, so every failure here leaves
    // them; the table is sound, so neither 5 nor 53 may come up.
    comprueba_error(*r.error, {desbordamiento, sin_memoria, subindice_fuera_de_rango,
                               tipo_incompatible, sin_espacio_de_pila, fin_de_fichero},
                    "d/a.dxf", lineas, vacio);
    if (r.error->num_linea() == 0 && r.error->numero() != fin_de_fichero)
      falla("only an empty drawing fails without a line");
  }
  if (!bin || !err) falla("a drawing without its .bin or .err");
  r.bin = *bin;
  r.err = *err;
  registros(r.bin, atributo);
  comprueba_err(r.err);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t largo) {
  const std::string_view entrada(reinterpret_cast<const char*>(datos), largo);
  const std::int64_t lineas = cuenta_lineas(entrada);
  const opciones_conversion opciones = opciones_de(entrada);

  ficheros_memoria fs;
  vista_muda vista;

  conversor conv_lote(vista, fs);
  conv_lote.opciones() = opciones;
  vista.atributo = false;
  resultado sin = en_lote(conv_lote, fs, entrada);
  comprueba(fs, sin, false, lineas, entrada.empty());

  conversor conv_solo(vista, fs);
  conv_solo.opciones() = opciones;
  vista.atributo = true;
  resultado con = solo(conv_solo, fs, entrada);
  comprueba(fs, con, true, lineas, entrada.empty());

  ficheros_a_trozos a_trozos(fs);
  conversor conv_trozos(vista, a_trozos);
  conv_trozos.opciones() = opciones;
  vista.atributo = false;
  resultado trozos = solo(conv_trozos, fs, entrada);
  comprueba(fs, trozos, false, lineas, entrada.empty());
  // Alone, with nothing converted before, and in pieces: what came before a drawing and how
  // its bytes arrive must change nothing of it.
  if (trozos.bin != sin.bin || trozos.err != sin.err ||
      trozos.error.has_value() != sin.error.has_value() ||
      (sin.error && (sin.error->numero() != trozos.error->numero() ||
                     sin.error->num_linea() != trozos.error->num_linea())))
    falla("the drawing converts differently alone or when its bytes arrive in small pieces");

  if (sin.error.has_value() != con.error.has_value() ||
      (sin.error && (sin.error->numero() != con.error->numero() ||
                     sin.error->num_linea() != con.error->num_linea())))
    falla("the attribute option changed how the drawing fails");
  if (sin.err != con.err) falla("the attribute option changed the .err");
  comprueba_atributo(registros(sin.bin, false), registros(con.bin, true));
  return 0;
}
