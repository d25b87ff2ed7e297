#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace tolvar {

// The group-0 values that a drawing's main loop met and did not read, counted by their exact
// bytes, for the line that tells the user what the .bin leaves out.
class entidades_omitidas {
 public:
  // A drawing can name any number of kinds; past these bounds new names are counted together
  // under "(otras)", so that no drawing makes the tally grow without end.
  static constexpr std::size_t max_nombres = 1024;
  static constexpr std::size_t max_bytes_nombres = std::size_t{64} << 10;

  void anota(std::string_view nombre);
  void borra();
  bool vacia() const noexcept { return cuentas_.empty(); }
  // "5291 LINE, 295 LWPOLYLINE, 106 INSERT": the most counted first, equal counts by the bytes
  // of their names; empty when nothing was left out.
  std::string texto() const;

 private:
  std::map<std::string, std::int64_t, std::less<>> cuentas_;
  std::size_t bytes_nombres_ = 0;
  // Entities come in runs of one kind: the last name's counter is at hand.
  std::int64_t* ultima_ = nullptr;
  std::string_view nombre_ultima_;
};

}  // namespace tolvar
