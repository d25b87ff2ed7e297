#include "core/numeros.h"

#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

#include "core/error_conversion.h"
#include "core/lector_lineas.h"

namespace tolvar {
namespace {

constexpr double escala = 1000.0;
constexpr double desplazamiento_y = 4000000000.0;

// Also false for NaN and the infinities.
bool cabe_en_32(double r) noexcept { return r >= -2147483648.0 && r <= 2147483647.0; }

bool es_digito(char c) noexcept { return c >= '0' && c <= '9'; }

[[noreturn]] void no_es_numero(std::string_view texto) {
  throw error_conversion(tipo_incompatible, cita(texto) + " is not a number");
}

// from_chars calls both 1e-400 and 1e400 "out of range"; the power of ten of the first
// significant digit tells which of the two it was.
bool es_demasiado_pequeno(std::string_view mantisa_y_exponente) noexcept {
  std::int64_t digitos_enteros = 0, primer_significativo = -1, indice = 0;
  bool en_fraccion = false;
  std::size_t i = 0;
  for (; i < mantisa_y_exponente.size(); ++i) {
    const char c = mantisa_y_exponente[i];
    if (c == '.') {
      en_fraccion = true;
    } else if (es_digito(c)) {
      if (!en_fraccion) ++digitos_enteros;
      if (c != '0' && primer_significativo < 0) primer_significativo = indice;
      ++indice;
    } else {
      break;
    }
  }
  std::int64_t exponente = 0;
  if (i < mantisa_y_exponente.size()) {  // 'e' or 'E', already validated by from_chars
    ++i;
    bool negativo = false;
    if (i < mantisa_y_exponente.size() &&
        (mantisa_y_exponente[i] == '+' || mantisa_y_exponente[i] == '-'))
      negativo = mantisa_y_exponente[i++] == '-';
    for (; i < mantisa_y_exponente.size(); ++i) {
      if (exponente < INT64_C(1000000000000))
        exponente = exponente * 10 + (mantisa_y_exponente[i] - '0');
    }
    if (negativo) exponente = -exponente;
  }
  if (primer_significativo < 0) return true;
  return digitos_enteros - 1 - primer_significativo + exponente < 0;
}

}  // namespace

double lee_numero(std::string_view texto) {
  const std::string_view t = recorta(texto);
  std::size_t i = 0;
  bool negativo = false;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) negativo = t[i++] == '-';
  // from_chars would take "inf", "nan" and a second sign; drawings never mean them.
  if (i == t.size() || !(es_digito(t[i]) || t[i] == '.')) no_es_numero(texto);
  const std::string_view resto = t.substr(i);
  double valor = 0.0;
  const auto [fin, ec] =
      std::from_chars(resto.data(), resto.data() + resto.size(), valor, std::chars_format::general);
  if (ec == std::errc::invalid_argument || fin != resto.data() + resto.size()) no_es_numero(texto);
  if (ec == std::errc::result_out_of_range) {
    if (!es_demasiado_pequeno(resto))
      throw error_conversion(desbordamiento, cita(texto) + " is too large");
    valor = 0.0;
  }
  return negativo ? -valor : valor;
}

std::int32_t redondea_32(double valor) {
  const double r = std::nearbyint(valor);
  if (!cabe_en_32(r))
    throw error_conversion(desbordamiento, "value " + std::to_string(valor) + " does not fit in 32 bits");
  return static_cast<std::int32_t>(r);
}

std::int32_t escala_coord(std::string_view texto, bool con_desplazamiento) {
  double v = lee_numero(texto) * escala;
  if (con_desplazamiento) v -= desplazamiento_y;
  const double r = std::nearbyint(v);
  if (!cabe_en_32(r))
    throw error_conversion(desbordamiento, "coordinate " + cita(texto) + " scales outside 32 bits");
  return static_cast<std::int32_t>(r);
}

double escala_altura(std::string_view texto) {
  const double v = lee_numero(texto) * escala;
  if (!std::isfinite(v)) throw error_conversion(desbordamiento, cita(texto) + " is too large");
  return v;
}

}  // namespace tolvar
