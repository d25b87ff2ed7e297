#include "core/omitidas.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace tolvar {

namespace {
constexpr std::string_view otras = "(otras)";
}  // namespace

void entidades_omitidas::anota(std::string_view nombre) {
  if (ultima_ != nullptr && nombre == nombre_ultima_) {
    ++*ultima_;
    return;
  }
  auto it = cuentas_.find(nombre);
  if (it == cuentas_.end()) {
    if (cuentas_.size() >= max_nombres || bytes_nombres_ + nombre.size() > max_bytes_nombres)
      nombre = otras;
    else
      bytes_nombres_ += nombre.size();
    it = cuentas_.try_emplace(std::string(nombre), 0).first;
  }
  ++it->second;
  // A map's keys stay where they are while it lives.
  ultima_ = &it->second;
  nombre_ultima_ = it->first;
}

void entidades_omitidas::borra() {
  cuentas_.clear();
  bytes_nombres_ = 0;
  ultima_ = nullptr;
  nombre_ultima_ = {};
}

std::string entidades_omitidas::texto() const {
  std::vector<std::pair<std::int64_t, std::string_view>> orden;
  orden.reserve(cuentas_.size());
  for (const auto& [nombre, n] : cuentas_) orden.emplace_back(n, nombre);
  // The map gives the names in byte order; a stable sort by count keeps it among equals.
  std::stable_sort(orden.begin(), orden.end(),
                   [](const auto& a, const auto& b) { return a.first > b.first; });
  std::string t;
  for (const auto& [n, nombre] : orden) {
    if (!t.empty()) t += ", ";
    t += std::to_string(n);
    t += ' ';
    t += nombre;
  }
  return t;
}

}  // namespace tolvar
