#include "output/registro.h"

#include <algorithm>

#include "core/conversor.h"
#include "core/error_conversion.h"
#include "core/lector_lineas.h"
#include "core/numeros.h"

namespace tolvar {
namespace {

constexpr std::size_t max_16 = 32767;

void pon_16(std::string& s, std::int16_t v) {
  const auto u = static_cast<std::uint16_t>(v);
  s += static_cast<char>(u & 0xFFu);
  s += static_cast<char>(u >> 8);
}

void pon_32(std::string& s, std::int32_t v) {
  const auto u = static_cast<std::uint32_t>(v);
  const char b[4] = {static_cast<char>(u & 0xFFu), static_cast<char>((u >> 8) & 0xFFu),
                     static_cast<char>((u >> 16) & 0xFFu), static_cast<char>(u >> 24)};
  s.append(b, 4);
}

void pon_punto(std::string& s, const tipo_punto& p) {
  pon_32(s, p.x);
  pon_32(s, p.y);
  pon_32(s, p.z);
}

}  // namespace

void completa_codigo(std::string& codigo) {
  const std::string_view t = recorta(codigo);
  if (t.size() > max_16) {
    throw error_conversion(desbordamiento, "layer code of " + std::to_string(t.size()) +
                                               " characters is too long");
  }
  std::string r(t);
  if (r.size() < bytes_cod) r.resize(bytes_cod, '\0');
  codigo = std::move(r);
}

void completa_texto(std::string& texto) {
  std::string r(recorta(texto));
  r += '\0';
  texto = std::move(r);
}

void compone_registro(estado_conversion& e, bool atributo, std::string& registro) {
  completa_codigo(e.codigo);
  const std::size_t n = static_cast<std::size_t>(std::clamp(e.num_puntos, 0, max_puntos));
  // A closed entity without points has no first point to repeat.
  const bool cerrado = e.elem_cerrado && n > 0;

  std::size_t unidades_texto = 0;
  if (e.EsTexto) {
    e.texto.assign(recorta(e.texto));
    unidades_texto = (e.texto.size() + bytes_unidad - 1) / bytes_unidad;
  }
  const std::size_t num_elem = n + (cerrado ? 1 : 0) + unidades_texto;
  if (num_elem > max_16) {
    throw error_conversion(desbordamiento, "text of " + std::to_string(e.texto.size()) +
                                               " characters does not fit in one record");
  }

  std::int32_t v[9] = {inicio_minimo, inicio_minimo, inicio_minimo, 0, 0, 0, dato_1, dato_2, dato_3};
  for (std::size_t i = 1; i <= n; ++i) {
    const tipo_punto& p = e.puntos[i];
    if (p.x > v[3]) v[3] = p.x;
    if (p.x < v[0]) v[0] = p.x;
    if (p.y > v[4]) v[4] = p.y;
    if (p.y < v[1]) v[1] = p.y;
    if (p.z > v[5]) v[5] = p.z;
    if (p.z < v[2]) v[2] = p.z;
  }
  if (e.EsTexto) {
    // The box of a text: as wide as its characters times its height, as high as its height.
    const double largo = static_cast<double>(e.texto.size());
    v[6] = redondea_32(e.AlturaTexto);
    v[7] = 0;
    v[8] = 0;
    v[3] = redondea_32(largo * e.AlturaTexto + v[0]);
    v[4] = redondea_32(v[1] + e.AlturaTexto);
  }

  registro.clear();
  registro += e.EsTexto ? "T=" : "C=";
  registro.append(e.codigo, 0, bytes_cod);
  registro += static_cast<char>(atributo ? 1 : 0);
  pon_16(registro, static_cast<std::int16_t>(num_elem));
  for (const std::int32_t x : v) pon_32(registro, x);
  for (std::size_t i = 1; i <= n; ++i) pon_punto(registro, e.puntos[i]);
  if (cerrado) pon_punto(registro, e.puntos[1]);
  if (e.EsTexto) {
    completa_texto(e.texto);
    for (std::size_t j = 0; j < unidades_texto; ++j) {
      const std::size_t ini = registro.size();
      registro.append(e.texto, j * bytes_unidad, bytes_unidad);
      registro.resize(ini + bytes_unidad, ' ');
    }
  }
  if (atributo) registro.append(unidad_atributo, bytes_unidad);
}

void conversor::GrabaEntidad() {
  try {
    compone_registro(e_, vista_.atributo_activado(), registro_);
  } catch (const error_conversion& e) {
    throw e.situada(lector_->fichero(), linea_entidad_);
  }
  bin_->escribe(registro_);
}

}  // namespace tolvar
