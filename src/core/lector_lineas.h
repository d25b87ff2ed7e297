#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <memory>
#include <string_view>

#include "core/ficheros.h"
#include "core/fines_linea.h"

namespace tolvar {

class relevo;

// Splits a file into lines without ever holding more than two buffers of it. A line ends at
// CR LF, LF or a lone CR; a last line without an end is a line too; an empty file has none.
// A line over max_linea bytes is error 6: no DXF line comes near it, and it must not make
// us swallow a whole file that has no line ends (a binary DXF, say) into memory.
//
// The lines are taken here from the marks of their ends; two layers under it can be read
// apart, and skipped: how the marks are found (fines_linea.h), and the read-ahead (the end of
// lector_lineas.cpp). Once a read fills its whole request (a file larger than one read), a
// second thread reads the next part while this one splits the last: copying a file out of
// the system's cache takes a fifth of a conversion, and a machine has a spare core for it.
// The source is then read from that thread only, one call at a time, and its errors come out
// of lee() at the point where the data they stopped would have been.
class lector_lineas {
 public:
  static constexpr std::size_t max_linea = std::size_t{1} << 20;
  // What one read asks of the source; a read that gets all of it starts the second thread.
  static constexpr std::size_t bytes_lectura = std::size_t{512} << 10;

  lector_lineas(fuente& origen, std::filesystem::path fichero);
  // Waits for a read in progress: the source must outlive the reader.
  ~lector_lineas();
  lector_lineas(const lector_lineas&) = delete;
  lector_lineas& operator=(const lector_lineas&) = delete;

  // The next line, without its end; false at the end of the file. The view stays valid
  // until the next call. Inline for the common case, a line already marked in the buffer
  // with data after it: a drawing is tens of millions of lines of eight bytes.
  bool lee(std::string_view& linea) {
    busca_marca();
    if (marcas_ != 0) {
      const char* p = fin_marcado();
      if (fin_ - p > 1 && static_cast<std::size_t>(p - ini_) <= max_linea) {
        toma(p, linea);
        return true;
      }
    }
    return lee_resto(linea);
  }

  // 1-based number of the line last returned; 0 before the first.
  std::int64_t num_linea() const noexcept { return num_linea_; }
  const std::filesystem::path& fichero() const noexcept { return fichero_; }

 private:
  // Moves on to the next word with a mark left; marcas_ stays 0 when every mark read is
  // taken.
  void busca_marca() noexcept {
    while (marcas_ == 0 && siguientes_ != fin_marcas_) {
      marcas_ = *siguientes_++;
      bloque_ += bytes_bloque;
      precarga(bloque_ + distancia_precarga);
    }
  }
  // The line end of the lowest mark left.
  const char* fin_marcado() const noexcept { return bloque_ + std::countr_zero(marcas_); }
  // The line from ini_ to the end at p, the lowest mark left, which it takes.
  void toma(const char* p, std::string_view& linea) noexcept {
    marcas_ &= marcas_ - 1;
    linea = std::string_view(ini_, static_cast<std::size_t>(p - ini_));
    // Past the data lie at least 64 defined bytes, none of them an LF.
    ini_ = p + ((*p == '\r' && p[1] == '\n') ? 2 : 1);
    ++num_linea_;
  }
  // Everything but the common case: a line that ends past the buffer, the last line, the
  // end, a line too long.
  bool lee_resto(std::string_view& linea);
  bool rellena();
  void prepara(int indice);
  std::size_t lee_buffer(int indice);
  std::size_t lee_aqui(int indice);

  // The read-ahead.
  std::size_t recoge_adelantado();
  void adelanta(int indice, std::size_t leidos);

  fuente& origen_;
  std::filesystem::path fichero_;
  // Two buffers: the data of one is split into lines while the other is filled. Each has room
  // before its data for the unfinished line of the other, copied there when they swap. Before
  // the first read, ini_ and fin_ are null: no buffer, no line.
  std::unique_ptr<char[]> buffers_[2];
  std::size_t cabezas_[2] = {0, 0};  // the room before the data of each
  std::size_t pedidos_[2] = {0, 0};  // the room for the data of each
  // A file said to be smaller than one read: buffers of previsto_ bytes (its size and one), as
  // long as the reads, leidos_ajustado_ bytes so far, do not go past it.
  bool ajustado_ = false;
  std::size_t previsto_ = 0;
  std::size_t leidos_ajustado_ = 0;
  int actual_ = 0;
  const char* ini_;
  const char* fin_;
  // The marks of the line ends of each buffer (see marca_fines): palabras_[i] and bloques_[i]
  // belong to buffers_[i]; marcas_ is what is left of the word of bloque_, siguientes_ the
  // words after.
  std::unique_ptr<std::uint64_t[]> palabras_[2];
  std::size_t bloques_[2] = {0, 0};
  const char* bloque_;
  std::uint64_t marcas_ = 0;
  const std::uint64_t* siguientes_;
  const std::uint64_t* fin_marcas_;
  bool agotado_ = false;
  std::int64_t num_linea_ = 0;

  // The read-ahead: the thread fills buffers_[a_llenar_] with leidos_ bytes; what it threw is
  // kept in error_adelanto_. Last, so that the thread stops before anything it uses goes.
  int a_llenar_ = 0;
  std::size_t leidos_ = 0;
  std::exception_ptr error_adelanto_;
  std::unique_ptr<relevo> adelanto_;
};

}  // namespace tolvar
