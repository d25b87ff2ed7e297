#include "core/lector_lineas.h"

#include <cstring>
#include <string>

#include "core/error_conversion.h"

namespace tolvar {
namespace {

// Room for the longest line we accept plus a generous read.
constexpr std::size_t capacidad = lector_lineas::max_linea + (std::size_t{1} << 20);

// First CR or LF in [p, fin), or fin. Lines are short, so a byte loop that rejects most
// characters with one comparison beats setting up two memchr calls.
inline const char* busca_fin_de_linea(const char* p, const char* fin) noexcept {
  while (p < fin) {
    const unsigned char c = static_cast<unsigned char>(*p);
    if (c <= '\r' && (c == '\n' || c == '\r')) return p;
    ++p;
  }
  return fin;
}

}  // namespace

std::string cita(std::string_view texto) {
  constexpr std::size_t max = 60;
  std::string s = "\"";
  s.append(texto.substr(0, max));
  if (texto.size() > max) s += "...";
  s += '"';
  return s;
}

lector_lineas::lector_lineas(fuente& origen, std::filesystem::path fichero)
    : origen_(origen),
      fichero_(std::move(fichero)),
      buffer_(new char[capacidad]),
      ini_(buffer_.get()),
      fin_(buffer_.get()) {}

bool lector_lineas::rellena() {
  if (agotado_) return false;
  char* base = buffer_.get();
  const std::size_t pendientes = static_cast<std::size_t>(fin_ - ini_);
  if (ini_ != base) {
    std::memmove(base, ini_, pendientes);
    ini_ = base;
    fin_ = base + pendientes;
  }
  const std::size_t n = origen_.lee(base + pendientes, capacidad - pendientes);
  if (n == 0) {
    agotado_ = true;
    return false;
  }
  fin_ += n;
  return true;
}

bool lector_lineas::lee(std::string_view& linea) {
  for (;;) {
    const char* p = busca_fin_de_linea(ini_ + escaneado_, fin_);
    if (p < fin_) {
      // A CR that ends the buffer may be the first half of CR LF: look at the next byte first.
      if (*p == '\r' && p + 1 == fin_ && !agotado_) {
        escaneado_ = static_cast<std::size_t>(p - ini_);
        rellena();
        continue;
      }
      const std::size_t largo = static_cast<std::size_t>(p - ini_);
      if (largo > max_linea)
        throw error_conversion(desbordamiento, "line longer than 1 MiB", fichero_, num_linea_ + 1);
      linea = std::string_view(ini_, largo);
      ini_ = p + 1;
      if (*p == '\r' && ini_ < fin_ && *ini_ == '\n') ++ini_;
      escaneado_ = 0;
      ++num_linea_;
      return true;
    }
    escaneado_ = static_cast<std::size_t>(fin_ - ini_);
    if (escaneado_ > max_linea)
      throw error_conversion(desbordamiento, "line longer than 1 MiB", fichero_, num_linea_ + 1);
    if (!rellena()) {
      if (ini_ == fin_) return false;
      linea = std::string_view(ini_, static_cast<std::size_t>(fin_ - ini_));
      ini_ = fin_;
      escaneado_ = 0;
      ++num_linea_;
      return true;
    }
  }
}

}  // namespace tolvar
