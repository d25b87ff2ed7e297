#include "comun.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>

namespace tolvar::fuzz {
namespace {

// The format's fixed bytes, written out here rather than taken from the writer: a checker
// that shares the writer's constants would agree with the writer's mistakes.
constexpr char unidad_atributo[12] = {1, 0, 0, 0, 0, 0, '2', '0', '1', ' ', ' ', ' '};
constexpr std::int32_t inicio_minimo = 1000000000;

std::int32_t lee_32(std::string_view r, std::size_t pos) {
  std::uint32_t u = 0;
  for (std::size_t i = 0; i < 4; ++i)
    u |= static_cast<std::uint32_t>(static_cast<unsigned char>(r[pos + i])) << (8 * i);
  return static_cast<std::int32_t>(u);
}

std::int16_t lee_16(std::string_view r, std::size_t pos) {
  const auto u = static_cast<std::uint16_t>(static_cast<unsigned char>(r[pos]) |
                                            (static_cast<unsigned char>(r[pos + 1]) << 8));
  return static_cast<std::int16_t>(u);
}

void comprueba_registro(std::string_view r, std::size_t num, bool atributo) {
  const std::string donde = " (record " + std::to_string(num) + ")";
  const bool es_texto = r.substr(0, 2) == "T=";
  const std::int16_t num_elem = lee_16(r, 10);
  const std::int32_t xmin = lee_32(r, 12), ymin = lee_32(r, 16), zmin = lee_32(r, 20);
  const std::int32_t xmax = lee_32(r, 24), ymax = lee_32(r, 28), zmax = lee_32(r, 32);
  // Minima start at 1,000,000,000 and maxima at 0, whatever the points hold.
  if (xmin > inicio_minimo || ymin > inicio_minimo || zmin > inicio_minimo)
    falla("a minimum above its start value" + donde);
  if (zmax < 0) falla("zmax below its start value" + donde);
  if (!es_texto && (xmax < 0 || ymax < 0)) falla("a maximum below its start value" + donde);
  if (es_texto) {
    if (num_elem < 1) falla("a text record without its insertion point" + donde);
    if (lee_32(r, 40) != 0 || lee_32(r, 44) != 0) falla("a text with dato2/dato3 not 0" + donde);
  } else if (lee_32(r, 36) != 20 || lee_32(r, 40) != 6 || lee_32(r, 44) != 1957) {
    falla("an entity with dato1..3 not 20, 6, 1957" + donde);
  }
  // A text's extent is its box, not its points; only the insertion point lies inside it.
  const std::size_t puntos = es_texto ? 1 : static_cast<std::size_t>(num_elem);
  for (std::size_t i = 0; i < puntos; ++i) {
    const std::size_t p = 48 + 12 * i;
    const std::int32_t x = lee_32(r, p), y = lee_32(r, p + 4), z = lee_32(r, p + 8);
    if (x < xmin || y < ymin || z < zmin || z > zmax || (!es_texto && (x > xmax || y > ymax)))
      falla("point " + std::to_string(i + 1) + " outside its extent" + donde);
  }
  if (atributo && std::memcmp(r.data() + r.size() - 12, unidad_atributo, 12) != 0)
    falla("a wrong attribute unit" + donde);
}

class fuente_a_trozos final : public fuente {
 public:
  explicit fuente_a_trozos(std::unique_ptr<fuente> base) : base_(std::move(base)) {}
  std::size_t lee(char* destino, std::size_t max) override {
    static constexpr std::size_t trozos[] = {1, 7, 2, 64, 3, 13, 1, 255, 5, 63, 65};
    const std::size_t n = trozos[siguiente_++ % std::size(trozos)];
    return base_->lee(destino, std::min(max, n));
  }
  std::optional<std::uint64_t> tamano() const override { return base_->tamano(); }

 private:
  std::unique_ptr<fuente> base_;
  std::size_t siguiente_ = 0;
};

}  // namespace

std::unique_ptr<fuente> ficheros_a_trozos::abre(const std::filesystem::path& ruta) {
  return std::make_unique<fuente_a_trozos>(base_.abre(ruta));
}

void falla(const std::string& motivo) {
  std::fprintf(stderr, "tolvar fuzz: %s\n", motivo.c_str());
  std::fflush(stderr);
  std::abort();
}

std::vector<std::string_view> registros(std::string_view bin, bool atributo) {
  std::vector<std::string_view> lista;
  std::size_t pos = 0;
  while (pos < bin.size()) {
    const std::string donde = " (record " + std::to_string(lista.size() + 1) + " at byte " +
                              std::to_string(pos) + ")";
    if (bin.size() - pos < 48) falla("a record shorter than its header and extent" + donde);
    const std::string_view cab = bin.substr(pos, 12);
    if (cab.substr(0, 2) != "C=" && cab.substr(0, 2) != "T=") falla("an unknown class" + donde);
    if (cab[9] != (atributo ? 1 : 0)) falla("an atr byte that disagrees with the option" + donde);
    const std::int16_t num_elem = lee_16(cab, 10);
    if (num_elem < 0) falla("a negative num_elem" + donde);
    const std::size_t largo =
        48 + 12 * static_cast<std::size_t>(num_elem) + (atributo ? std::size_t{12} : 0);
    if (bin.size() - pos < largo) falla("a torn record" + donde);
    lista.push_back(bin.substr(pos, largo));
    comprueba_registro(lista.back(), lista.size(), atributo);
    pos += largo;
  }
  return lista;
}

void comprueba_err(std::string_view err) {
  for (std::size_t i = 0; i < err.size(); ++i) {
    if (err[i] == '\r' && (i + 1 == err.size() || err[i + 1] != '\n'))
      falla("a CR without its LF in the .err");
    if (err[i] == '\n' && (i == 0 || err[i - 1] != '\r')) falla("an LF without its CR in the .err");
  }
  if (!err.empty() && err.back() != '\n') falla("a last .err line without its end");
}

void comprueba_atributo(const std::vector<std::string_view>& sin,
                        const std::vector<std::string_view>& con) {
  if (sin.size() != con.size()) falla("the attribute option changed the number of records");
  for (std::size_t i = 0; i < sin.size(); ++i) {
    std::string esperado(sin[i]);
    esperado[9] = 1;
    esperado.append(unidad_atributo, 12);
    if (esperado != con[i])
      falla("record " + std::to_string(i + 1) + " differs beyond the attribute option");
  }
}

std::int64_t cuenta_lineas(std::string_view datos) {
  // Every LF and every CR ends a line, but for the LF of a CR LF. Found with memchr, which
  // the coverage instrumentation leaves alone: a loop of ours over every byte cost as much as
  // one of the conversions.
  const auto busca = [&](char c, auto&& cada) {
    const char* p = datos.data();
    const char* const fin = p + datos.size();
    while (p != fin) {
      const void* q = std::memchr(p, c, static_cast<std::size_t>(fin - p));
      if (q == nullptr) break;
      p = static_cast<const char*>(q);
      cada(p, fin);
      ++p;
    }
  };
  std::int64_t n = 0;
  busca('\n', [&](const char*, const char*) { ++n; });
  busca('\r', [&](const char* p, const char* fin) { n += (p + 1 != fin && p[1] == '\n') ? 0 : 1; });
  if (!datos.empty() && datos.back() != '\n' && datos.back() != '\r') ++n;
  return n;
}

void comprueba_error(const error_conversion& e, std::initializer_list<int> permitidos,
                     const std::filesystem::path& fichero, std::int64_t lineas,
                     bool sin_linea_permitido) {
  const std::string que = std::string(" (") + e.what() + ")";
  if (std::find(permitidos.begin(), permitidos.end(), e.numero()) == permitidos.end())
    falla("error number " + std::to_string(e.numero()) + " for a bad input" + que);
  if (e.fichero() != fichero) falla("the error names another file" + que);
  const std::string nombre = fichero.filename().string();
  if (std::string_view(e.what()).find(nombre) == std::string_view::npos)
    falla("the message does not name the file" + que);
  if (e.num_linea() == 0) {
    if (!sin_linea_permitido) falla("the error names no line" + que);
    return;
  }
  if (e.num_linea() < 0 || e.num_linea() > lineas)
    falla("the error names line " + std::to_string(e.num_linea()) + " of " +
          std::to_string(lineas) + que);
  const std::string linea = ", line " + std::to_string(e.num_linea());
  if (std::string_view(e.what()).find(linea) == std::string_view::npos)
    falla("the message does not name the line" + que);
}

std::optional<error_conversion> convierte_lote(conversor& conv, const std::filesystem::path& elegido) {
  try {
    conv.estado().fich_dxf = elegido;
    conv.ProcesoLote();
  } catch (const error_conversion& e) {
    return e;
  }
  return std::nullopt;
}

}  // namespace tolvar::fuzz
