#include "ventana/lista_plano.h"

#include <algorithm>
#include <limits>
#include <map>
#include <memory>
#include <utility>

#include "codes/tabla_codigos.h"
#include "core/error_conversion.h"
#include "core/numeros.h"
#include "inspeccion/lector_bin.h"
#include "inspeccion/texto_legible.h"

namespace tolvar {
namespace {

using codigo_bin = std::array<char, 7>;

// Nuevo as a record's header holds it, padded.
constexpr codigo_bin cod_nuevo = [] {
  codigo_bin c{};
  for (std::size_t i = 0; codigo_nuevo[i] != '\0' && i < c.size(); ++i) c[i] = codigo_nuevo[i];
  return c;
}();

// Hilbert order of a cell of a 65,536 x 65,536 grid: boxes near each other on the map are
// near each other in the order, so that each node of the index covers one compact patch.
std::uint32_t hilbert(std::uint32_t x, std::uint32_t y) noexcept {
  constexpr std::uint32_t ultimo = 65535;
  std::uint32_t d = 0;
  for (std::uint32_t s = 1u << 15; s > 0; s >>= 1) {
    const std::uint32_t rx = (x & s) != 0 ? 1 : 0;
    const std::uint32_t ry = (y & s) != 0 ? 1 : 0;
    d += s * s * ((3 * rx) ^ ry);
    if (ry == 0) {
      if (rx == 1) {
        x = ultimo - x;
        y = ultimo - y;
      }
      std::swap(x, y);
    }
  }
  return d;
}

std::uint32_t celda(std::int64_t v, std::int64_t lo, std::int64_t ancho) noexcept {
  if (ancho <= 0) return 0;
  // In doubles: the product of two spans of 64 bits would not fit in 64.
  const double f = static_cast<double>(v - lo) / static_cast<double>(ancho);
  return static_cast<std::uint32_t>(std::clamp(f * 65535.0, 0.0, 65535.0));
}

// What one pass over the file learns, or, in the second, fills.
struct cuentas_plano {
  std::uint64_t registros = 0, puntos = 0, bytes_texto = 0, textos = 0;
  std::map<codigo_bin, std::uint64_t> codigos;
};

// Each record of `bin` to `f`, up to `max` records.
template <class PorRegistro>
void recorre(ficheros& fs, const std::filesystem::path& bin, std::uint64_t max, PorRegistro&& f) {
  const std::unique_ptr<fuente> origen = fs.abre(bin);
  lector_bin lector(*origen, bin);
  registro_bin r;
  while (lector.registros() < max && lector.siguiente(r)) f(r);
}

[[noreturn]] void demasiados(const std::filesystem::path& bin) {
  throw error_conversion(
      desbordamiento,
      {"holds more records or points than a preview can (4,294,967,295)",
       "tiene más registros o puntos de los que caben en una vista previa (4.294.967.295)"},
      bin);
}

[[noreturn]] void cambiado(const std::filesystem::path& bin) {
  throw error_conversion(error_de_acceso, {"changed while it was read", "cambió mientras se leía"},
                         bin);
}

}  // namespace

void caja_plano::amplia(std::int64_t x, std::int64_t y) noexcept {
  if (vacia()) {
    x0 = x1 = x;
    y0 = y1 = y;
    return;
  }
  x0 = std::min(x0, x);
  x1 = std::max(x1, x);
  y0 = std::min(y0, y);
  y1 = std::max(y1, y);
}

void caja_plano::amplia(const caja_plano& c) noexcept {
  if (c.vacia()) return;
  amplia(c.x0, c.y0);
  amplia(c.x1, c.y1);
}

std::int64_t registro_plano::norte(std::int32_t y) const noexcept {
  return triangulo ? y : std::int64_t{y} + desplazamiento_y;
}

color_rgb color_codigo(const codigo_bin& cod) noexcept {
  if (cod == cod_nuevo) return color_nuevo;
  // FNV-1a: a few lines, and a code that differs in one letter lands elsewhere on the wheel.
  std::uint32_t h = 2166136261u;
  for (const char c : cod) {
    h ^= static_cast<unsigned char>(c);
    h *= 16777619u;
  }
  // Hues from orange round to purple: the band about red is Nuevo's alone. Saturation 70 %
  // and lightness 40 %, dark enough on the light background; integers throughout, so that no
  // rounding of a system's floating point moves a colour.
  const std::uint32_t tono = 40 + h % 281;   // degrees
  constexpr std::uint32_t croma = 560, base = 120;   // thousandths
  const std::uint32_t sector = tono / 60, resto = tono % 60;
  const std::uint32_t medio = croma * ((sector % 2 == 1) ? 60 - resto : resto) / 60;
  std::uint32_t r = 0, g = 0, b = 0;
  switch (sector) {
    case 0: r = croma; g = medio; break;
    case 1: r = medio; g = croma; break;
    case 2: g = croma; b = medio; break;
    case 3: g = medio; b = croma; break;
    case 4: r = medio; b = croma; break;
    default: r = croma; b = medio; break;
  }
  const auto canal = [](std::uint32_t v) {
    return static_cast<std::uint8_t>(((v + base) * 255 + 500) / 1000);
  };
  return {canal(r), canal(g), canal(b)};
}

void indice_plano::construye(const std::vector<caja_plano>& cajas) {
  hojas_.clear();
  nodos_.clear();
  inicio_nivel_.clear();
  caja_plano total;
  for (const caja_plano& c : cajas) total.amplia(c);
  if (total.vacia()) return;

  std::vector<std::pair<std::uint32_t, std::uint32_t>> orden;   // (Hilbert, item)
  for (std::size_t i = 0; i < cajas.size(); ++i) {
    const caja_plano& c = cajas[i];
    if (c.vacia()) continue;
    const std::int64_t cx = c.x0 + (c.x1 - c.x0) / 2, cy = c.y0 + (c.y1 - c.y0) / 2;
    orden.emplace_back(hilbert(celda(cx, total.x0, total.x1 - total.x0),
                               celda(cy, total.y0, total.y1 - total.y0)),
                       static_cast<std::uint32_t>(i));
  }
  std::sort(orden.begin(), orden.end());
  hojas_.reserve(orden.size());
  for (const auto& [h, i] : orden) hojas_.push_back(i);

  // Each level boxes groups of `hijos` of the one below, up to a single root.
  std::size_t debajo = hojas_.size();
  bool sobre_hojas = true;
  std::size_t inicio_debajo = 0;
  do {
    const std::size_t inicio = nodos_.size();
    inicio_nivel_.push_back(inicio);
    for (std::size_t k = 0; k < debajo; k += hijos) {
      caja_plano c;
      for (std::size_t j = k; j < std::min(k + hijos, debajo); ++j)
        c.amplia(sobre_hojas ? cajas[hojas_[j]] : nodos_[inicio_debajo + j]);
      nodos_.push_back(c);
    }
    debajo = nodos_.size() - inicio;
    inicio_debajo = inicio;
    sobre_hojas = false;
  } while (debajo > 1);
}

void indice_plano::busca(const std::vector<caja_plano>& cajas, const caja_plano& c,
                         std::vector<std::uint32_t>& ids) const {
  if (inicio_nivel_.empty() || c.vacia()) return;
  // (level, position in it); level 0 boxes the leaves.
  std::vector<std::pair<std::size_t, std::size_t>> pendientes{{inicio_nivel_.size() - 1, 0}};
  const auto fin_nivel = [this](std::size_t nivel) {
    return nivel + 1 < inicio_nivel_.size() ? inicio_nivel_[nivel + 1] : nodos_.size();
  };
  while (!pendientes.empty()) {
    const auto [nivel, k] = pendientes.back();
    pendientes.pop_back();
    if (!nodos_[inicio_nivel_[nivel] + k].corta(c)) continue;
    const std::size_t primero = k * hijos;
    if (nivel == 0) {
      for (std::size_t j = primero; j < std::min(primero + hijos, hojas_.size()); ++j)
        if (cajas[hojas_[j]].corta(c)) ids.push_back(hojas_[j]);
    } else {
      const std::size_t hay = fin_nivel(nivel - 1) - inicio_nivel_[nivel - 1];
      for (std::size_t j = primero; j < std::min(primero + hijos, hay); ++j)
        pendientes.emplace_back(nivel - 1, j);
    }
  }
}

std::size_t indice_plano::bytes() const noexcept {
  return hojas_.capacity() * sizeof(std::uint32_t) + nodos_.capacity() * sizeof(caja_plano) +
         inicio_nivel_.capacity() * sizeof(std::size_t);
}

lista_plano lista_plano::lee(ficheros& fs, const std::filesystem::path& bin) {
  constexpr std::uint64_t max_32 = std::numeric_limits<std::uint32_t>::max();
  cuentas_plano cuentas;
  recorre(fs, bin, std::numeric_limits<std::uint64_t>::max(), [&](const registro_bin& r) {
    ++cuentas.registros;
    ++cuentas.codigos[r.cod];
    cuentas.puntos += r.puntos.size();
    if (r.es_texto()) {
      ++cuentas.textos;
      cuentas.bytes_texto += utf8_de_1252(r.texto).size();
    }
  });
  if (cuentas.registros > max_32 || cuentas.puntos > max_32 || cuentas.bytes_texto > max_32)
    demasiados(bin);

  lista_plano l;
  std::map<codigo_bin, std::uint32_t> indice_codigo;
  for (const auto& [cod, n] : cuentas.codigos) {
    indice_codigo.emplace(cod, static_cast<std::uint32_t>(l.codigos_.size()));
    codigo_plano c;
    c.cod = cod;
    std::size_t largo = cod.size();
    while (largo > 0 && cod[largo - 1] == '\0') --largo;
    c.nombre = utf8_de_1252({cod.data(), largo});
    c.registros = n;
    c.color = color_codigo(cod);
    c.nuevo = cod == cod_nuevo;
    l.codigos_.push_back(std::move(c));
  }
  l.registros_.reserve(cuentas.registros);
  l.cajas_.reserve(cuentas.registros);
  l.puntos_.reserve(cuentas.puntos);
  l.textos_.reserve(cuentas.bytes_texto);
  l.fin_textos_.reserve(cuentas.textos);

  // Consecutive records mostly share their code: the map is asked only when it changes.
  codigo_bin cod_anterior{};
  std::uint32_t codigo_anterior = 0;
  bool hay_anterior = false;
  recorre(fs, bin, cuentas.registros, [&](const registro_bin& r) {
    registro_plano p;
    if (!hay_anterior || r.cod != cod_anterior) {
      const auto it = indice_codigo.find(r.cod);
      // A code the first pass did not see.
      if (it == indice_codigo.end()) cambiado(bin);
      cod_anterior = r.cod;
      codigo_anterior = it->second;
      hay_anterior = true;
    }
    p.codigo = codigo_anterior;
    p.primero = l.puntos_.size();
    p.num = static_cast<std::uint32_t>(r.puntos.size());
    p.triangulo = r.es_triangulo();
    if (l.puntos_.size() + r.puntos.size() > cuentas.puntos) cambiado(bin);
    for (const tipo_punto& q : r.puntos) l.puntos_.push_back({q.x, q.y});

    caja_plano caja;
    if (r.es_texto()) {
      p.forma = forma_plano::texto;
      p.alto = std::max(r.ventana[6], 0);
      p.texto = static_cast<std::uint32_t>(l.fin_textos_.size());
      pon_utf8(l.textos_, r.texto);
      l.fin_textos_.push_back(static_cast<std::uint32_t>(l.textos_.size()));
      if (!r.puntos.empty()) {
        // Characters times height across, the height up: the box the converter writes, made
        // here again rather than trusted from a file that may be foreign.
        const std::int64_t x = r.puntos.front().x, n = p.norte(r.puntos.front().y);
        caja.amplia(x, n);
        caja.amplia(x + static_cast<std::int64_t>(r.texto.size()) * p.alto, n + p.alto);
      }
    } else {
      p.forma = r.puntos.size() == 1 ? forma_plano::cruz
                : p.triangulo       ? forma_plano::poligono
                                    : forma_plano::linea;
      for (const tipo_punto& q : r.puntos) caja.amplia(q.x, p.norte(q.y));
    }
    l.registros_.push_back(p);
    l.cajas_.push_back(caja);
    l.extension_.amplia(caja);
  });
  l.indice_.construye(l.cajas_);
  return l;
}

std::string_view lista_plano::texto(const registro_plano& r) const noexcept {
  if (r.forma != forma_plano::texto || r.texto >= fin_textos_.size()) return {};
  const std::uint32_t inicio = r.texto == 0 ? 0 : fin_textos_[r.texto - 1];
  return std::string_view(textos_).substr(inicio, fin_textos_[r.texto] - inicio);
}

void lista_plano::busca(const caja_plano& c, std::vector<std::uint32_t>& ids) const {
  ids.clear();
  indice_.busca(cajas_, c, ids);
  std::sort(ids.begin(), ids.end());
}

std::size_t lista_plano::bytes() const noexcept {
  std::size_t n = registros_.capacity() * sizeof(registro_plano) +
                  puntos_.capacity() * sizeof(punto_plano) +
                  cajas_.capacity() * sizeof(caja_plano) + textos_.capacity() +
                  fin_textos_.capacity() * sizeof(std::uint32_t) + indice_.bytes();
  for (const codigo_plano& c : codigos_) n += sizeof c + c.nombre.capacity();
  return n;
}

}  // namespace tolvar
