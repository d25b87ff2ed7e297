#include "inspeccion/lector_bin.h"

#include <algorithm>
#include <cstring>

#include "core/texto.h"
#include "inspeccion/texto_legible.h"
#include "output/registro.h"

namespace tolvar {
namespace {

// A block holds the longest record whole, so a record is never parsed across two reads.
constexpr std::size_t capacidad = std::size_t{1} << 20;
static_assert(capacidad >= max_bytes_registro);

constexpr char cod_triangulo[bytes_cod] = {'T', 'R', 'I', 'A', 'N', 'G', '\0'};

std::uint16_t lee_u16(const char* p) noexcept {
  const auto b0 = static_cast<unsigned char>(p[0]);
  const auto b1 = static_cast<unsigned char>(p[1]);
  return static_cast<std::uint16_t>(b0 | (b1 << 8));
}

std::int32_t lee_32(const char* p) noexcept {
  std::uint32_t u = 0;
  for (int i = 3; i >= 0; --i) u = (u << 8) | static_cast<unsigned char>(p[i]);
  return static_cast<std::int32_t>(u);
}

}  // namespace

bool registro_bin::es_triangulo() const noexcept {
  return std::memcmp(cod.data(), cod_triangulo, bytes_cod) == 0;
}

std::string_view registro_bin::cod_sin_relleno() const noexcept {
  std::size_t n = cod.size();
  while (n > 0 && cod[n - 1] == '\0') --n;
  return {cod.data(), n};
}

error_bin::error_bin(int numero, std::uint64_t orden, std::uint64_t desplazamiento,
                     texto_error que, const std::filesystem::path& fichero)
    : error_conversion(numero, std::move(que), fichero),
      orden_(orden),
      desplazamiento_(desplazamiento),
      mensaje_(error_bin::mensaje(idioma::ingles)) {}

std::string error_bin::mensaje(idioma en) const {
  const bool es = en == idioma::espanol;
  // describe_error has no words for 1, which the converter never reports.
  const char* descripcion = numero() != no_es_registro ? describe_error(numero(), en)
                            : es                       ? "no es un registro de entidad"
                                                       : "not an entity record";
  std::string m = "Error " + std::to_string(numero()) + " (" + descripcion + "): " +
                  (es ? "registro " : "record ") + std::to_string(orden_) +
                  (es ? " en el desplazamiento " : " at offset ") +
                  std::to_string(desplazamiento_) + " " + que(en);
  if (!fichero().empty()) m += " -- " + texto_ruta(fichero());
  return m;
}

lector_bin::lector_bin(fuente& origen, std::filesystem::path fichero)
    : origen_(origen),
      fichero_(std::move(fichero)),
      buffer_(new char[capacidad]),
      ini_(buffer_.get()),
      fin_(buffer_.get()) {}

bool lector_bin::asegura(std::size_t n) {
  while (static_cast<std::size_t>(fin_ - ini_) < n && !agotado_) {
    char* base = buffer_.get();
    const std::size_t pendientes = static_cast<std::size_t>(fin_ - ini_);
    if (ini_ != base) {
      std::memmove(base, ini_, pendientes);
      ini_ = base;
      fin_ = base + pendientes;
    }
    const std::size_t leidos = origen_.lee(base + pendientes, capacidad - pendientes);
    if (leidos == 0) agotado_ = true;
    fin_ += leidos;
  }
  return static_cast<std::size_t>(fin_ - ini_) >= n;
}

void lector_bin::rompe(int numero, texto_error que) const {
  throw error_bin(numero, registros_ + 1, desplazamiento_, std::move(que), fichero_);
}

bool lector_bin::siguiente(registro_bin& r) {
  if (!asegura(bytes_cabecera)) {
    const auto quedan = static_cast<std::size_t>(fin_ - ini_);
    if (quedan == 0) return false;
    const std::string n = std::to_string(quedan);
    rompe(fin_de_fichero,
          {"is cut short: its header unit needs 12 bytes, the file ends after " + n,
           "está cortado: su unidad de cabecera necesita 12 bytes y el fichero termina tras " + n});
  }
  const char* p = ini_;
  // The header is judged before the length it announces: a file that is not a .bin at all,
  // or a record read from the wrong offset, shows here rather than as a length past the end.
  if (!((p[0] == 'C' || p[0] == 'T') && p[1] == '=')) {
    const std::string clase = hex_bytes({p, 2});
    rompe(error_bin::no_es_registro,
          {"has class " + clase + "; every record begins with \"C=\" or \"T=\"",
           "tiene la clase " + clase + "; todo registro empieza por \"C=\" o \"T=\""});
  }
  const auto atr = static_cast<std::uint8_t>(p[9]);
  if (atr > 1) {
    const std::string n = std::to_string(atr);
    rompe(error_bin::no_es_registro, {"has atr " + n + "; a record holds 0 or 1 there",
                                      "tiene atr " + n + "; un registro tiene ahí 0 o 1"});
  }
  const auto num_elem = static_cast<std::int16_t>(lee_u16(p + 10));
  if (num_elem < 0) {
    const std::string n = std::to_string(num_elem);
    rompe(error_bin::no_es_registro,
          {"has num_elem " + n + "; a count of units is never negative",
           "tiene num_elem " + n + "; una cuenta de unidades nunca es negativa"});
  }

  r.desplazamiento = desplazamiento_;
  r.orden = registros_ + 1;
  std::memcpy(r.clase.data(), p, 2);
  std::memcpy(r.cod.data(), p + 2, bytes_cod);
  r.atr = atr;
  r.num_elem = num_elem;
  const std::size_t largo = r.bytes();
  if (!asegura(largo)) {
    const std::string n = std::to_string(num_elem), a = std::to_string(atr),
                      bytes = std::to_string(largo),
                      hay = std::to_string(static_cast<std::size_t>(fin_ - ini_));
    rompe(fin_de_fichero, {"is cut short: with num_elem " + n + " and atr " + a + " it needs " +
                               bytes + " bytes, the file ends after " + hay,
                           "está cortado: con num_elem " + n + " y atr " + a + " necesita " +
                               bytes + " bytes y el fichero termina tras " + hay});
  }
  p = ini_ + bytes_cabecera;
  for (std::int32_t& v : r.ventana) {
    v = lee_32(p);
    p += 4;
  }

  const auto unidades = static_cast<std::size_t>(num_elem);
  // A text's first unit is its insertion point; every other unit of a text is 12 characters.
  const std::size_t puntos = r.es_texto() ? std::min<std::size_t>(unidades, 1) : unidades;
  r.puntos.resize(puntos);
  for (tipo_punto& q : r.puntos) {
    q = {lee_32(p), lee_32(p + 4), lee_32(p + 8)};
    p += bytes_unidad;
  }
  r.unidades_texto = unidades - puntos;
  r.texto.assign(p, r.unidades_texto * bytes_unidad);
  p += r.unidades_texto * bytes_unidad;
  if (const std::size_t fin = r.texto.find('\0'); fin != std::string::npos) r.texto.resize(fin);

  r.num_atr = 0;
  r.valor_atr = 0;
  r.cod_atr.fill(' ');
  if (atr == 1) {
    r.num_atr = static_cast<std::int16_t>(lee_u16(p));
    r.valor_atr = lee_32(p + 2);
    std::memcpy(r.cod_atr.data(), p + 6, r.cod_atr.size());
  }

  ini_ += largo;
  desplazamiento_ += largo;
  ++registros_;
  return true;
}

}  // namespace tolvar
