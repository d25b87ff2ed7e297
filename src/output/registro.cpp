#include "output/registro.h"

#include <algorithm>
#include <cstring>

#include "core/conversor.h"
#include "core/error_conversion.h"
#include "core/lector_grupos.h"
#include "core/numeros.h"
#include "core/texto.h"

namespace tolvar {
namespace {

// Little-endian by shifts, whatever the machine's order; compilers make one store of each.
char* pon_16(char* o, std::int16_t v) noexcept {
  const auto u = static_cast<std::uint16_t>(v);
  o[0] = static_cast<char>(u & 0xFFu);
  o[1] = static_cast<char>(u >> 8);
  return o + 2;
}

char* pon_32(char* o, std::int32_t v) noexcept {
  const auto u = static_cast<std::uint32_t>(v);
  o[0] = static_cast<char>(u & 0xFFu);
  o[1] = static_cast<char>((u >> 8) & 0xFFu);
  o[2] = static_cast<char>((u >> 16) & 0xFFu);
  o[3] = static_cast<char>(u >> 24);
  return o + 4;
}

char* pon_punto(char* o, const tipo_punto& p) noexcept {
  return pon_32(pon_32(pon_32(o, p.x), p.y), p.z);
}

}  // namespace

void completa_codigo(std::string& codigo) {
  const std::string_view t = recorta(codigo);
  if (t.size() > max_16) {
    const std::string n = std::to_string(t.size());
    throw error_conversion(desbordamiento, {"layer code of " + n + " characters is too long",
                                            "código de capa de " + n + " caracteres, demasiado largo"});
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
    // The format holds no text longer than a signed 16-bit count of characters.
    if (e.texto.size() > max_16) {
      const std::string largo = std::to_string(e.texto.size());
      throw error_conversion(desbordamiento,
                             {"text of " + largo + " characters, more than 32,767",
                              "texto de " + largo + " caracteres, más de 32.767"});
    }
    unidades_texto = (e.texto.size() + bytes_unidad - 1) / bytes_unidad;
  }
  const std::size_t num_elem = n + (cerrado ? 1 : 0) + unidades_texto;
  if (num_elem > max_16) {
    const std::string unidades = std::to_string(num_elem);
    throw error_conversion(desbordamiento,
                           {"entity of " + unidades + " units does not fit in one record",
                            "entidad de " + unidades + " unidades, no cabe en un registro"});
  }

  // In locals rather than the array, so that they live in registers through the loop.
  std::int32_t xmin = inicio_minimo, ymin = inicio_minimo, zmin = inicio_minimo;
  std::int32_t xmax = 0, ymax = 0, zmax = 0;
  for (std::size_t i = 1; i <= n; ++i) {
    const tipo_punto& p = e.puntos[i];
    xmax = std::max(xmax, p.x);
    xmin = std::min(xmin, p.x);
    ymax = std::max(ymax, p.y);
    ymin = std::min(ymin, p.y);
    zmax = std::max(zmax, p.z);
    zmin = std::min(zmin, p.z);
  }
  std::int32_t v[9] = {xmin, ymin, zmin, xmax, ymax, zmax, dato_1, dato_2, dato_3};
  if (e.EsTexto) {
    // The box of a text: as wide as its characters times its height, as high as its height.
    const double largo = static_cast<double>(e.texto.size());
    v[6] = redondea_32(e.AlturaTexto);
    v[7] = 0;
    v[8] = 0;
    v[3] = redondea_32(largo * e.AlturaTexto + v[0]);
    v[4] = redondea_32(v[1] + e.AlturaTexto);
  }

  // Sized once and filled in place: a polyline record is a few hundred bytes, and appending
  // them one by one cost more than the whole extent computation.
  registro.resize(bytes_cabecera + bytes_ventana + bytes_unidad * num_elem +
                  (atributo ? bytes_unidad : 0));
  char* o = registro.data();
  std::memcpy(o, e.EsTexto ? "T=" : "C=", 2);
  std::memcpy(o + 2, e.codigo.data(), bytes_cod);
  o[9] = static_cast<char>(atributo ? 1 : 0);
  o = pon_16(o + 10, static_cast<std::int16_t>(num_elem));
  for (const std::int32_t x : v) o = pon_32(o, x);
  for (std::size_t i = 1; i <= n; ++i) o = pon_punto(o, e.puntos[i]);
  if (cerrado) o = pon_punto(o, e.puntos[1]);
  if (e.EsTexto) {
    completa_texto(e.texto);
    for (std::size_t j = 0; j < unidades_texto; ++j, o += bytes_unidad) {
      const std::size_t copiados = std::min(bytes_unidad, e.texto.size() - j * bytes_unidad);
      std::memcpy(o, e.texto.data() + j * bytes_unidad, copiados);
      std::memset(o + copiados, ' ', bytes_unidad - copiados);
    }
  }
  if (atributo) std::memcpy(o, unidad_atributo, bytes_unidad);
}

void conversor::GrabaEntidad() {
  // A text of a block is as tall as its INSERTs make it; the next text that gives no height
  // of its own takes the one it was read with.
  const double altura = e_.AlturaTexto;
  if (colocando_) e_.AlturaTexto = altura * escala_altura_;
  try {
    compone_registro(e_, vista_.atributo_activado(), registro_);
  } catch (const error_conversion& e) {
    e_.AlturaTexto = altura;
    throw e.situada(lector_->fichero(), linea_entidad_);
  }
  e_.AlturaTexto = altura;
  bin_->escribe(registro_);
}

}  // namespace tolvar
