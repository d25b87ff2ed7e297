#pragma once

// What both fuzz targets check after every conversion. A fuzzer that only waits for a crash
// misses the faults that matter most here: a torn record, an error without a number, a run
// that reports success after losing data. Every check aborts with its reason, so that
// libFuzzer keeps the input that broke it.

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/conversor.h"
#include "core/error_conversion.h"
#include "core/vista_conversion.h"
#include "support/ficheros_memoria.h"
#include "support/vista_muda.h"

namespace tolvar::fuzz {

// Memory files whose readers hand out a few bytes at a time, in uneven pieces (1, 7, 2, 64...).
// A drawing must convert the same however its bytes arrive: a CR LF split between two reads,
// a line end at the edge of a block, a refill in the middle of a group.
class ficheros_a_trozos final : public ficheros {
 public:
  explicit ficheros_a_trozos(ficheros_memoria& base) : base_(base) {}
  std::unique_ptr<fuente> abre(const std::filesystem::path& ruta) override;
  std::unique_ptr<sumidero> crea(const std::filesystem::path& ruta) override {
    return base_.crea(ruta);
  }
  std::vector<std::filesystem::path> lista(const std::filesystem::path& directorio) override {
    return base_.lista(directorio);
  }

 private:
  ficheros_memoria& base_;
};

// Prints `motivo` on stderr and aborts.
[[noreturn]] void falla(const std::string& motivo);

// The records of a .bin, in order. Aborts when the file does not divide into whole records
// (48 + 12 x num_elem bytes, +12 with the attribute unit) or when a record breaks the format:
// a class other than "C=" or "T=", an atr byte that disagrees with the option, a fixed field
// with the wrong value, a point outside its record's extent.
std::vector<std::string_view> registros(std::string_view bin, bool atributo);

// Aborts unless `err` is whole lines, each ended by CR LF.
void comprueba_err(std::string_view err);

// Aborts unless the records written with the attribute option on are those written with it
// off, each with atr 1 and the attribute unit behind it.
void comprueba_atributo(const std::vector<std::string_view>& sin,
                        const std::vector<std::string_view>& con);

// Lines of a file as the line reader counts them: CR LF, CR and LF each end one, and a last
// line without an end counts too.
std::int64_t cuenta_lineas(std::string_view datos);

// Runs the batch of the drawing `elegido` names; the error it ends with, if any. Any other
// exception goes through, and libFuzzer reports it as a crash.
std::optional<error_conversion> convierte_lote(conversor& conv, const std::filesystem::path& elegido);

// Aborts unless `e` is one of the numbers a bad input may give (`permitidos`), names
// `fichero` in fichero() and in its message, and names a line between 1 and `lineas` (0 only
// when `sin_linea_permitido`).
void comprueba_error(const error_conversion& e, std::initializer_list<int> permitidos,
                     const std::filesystem::path& fichero, std::int64_t lineas,
                     bool sin_linea_permitido);

}  // namespace tolvar::fuzz
