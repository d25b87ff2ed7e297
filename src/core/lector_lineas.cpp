#include "core/lector_lineas.h"

#include <cstring>
#include <optional>
#include <string>
#include <system_error>

#include "core/error_conversion.h"
#include "core/relevo.h"

namespace tolvar {
namespace {

// Large enough that system calls and the handing of buffers between the threads cost
// nothing, small enough to stay in the processor's cache between the read and the scan, and
// to keep the memory we touch (and so the resident set) far below the buffers' size.
constexpr std::size_t lectura = lector_lineas::bytes_lectura;
// Room before the data of a buffer for the unfinished line of the other: at most the longest
// line we accept plus one read, when a CR ending the data waits for the next byte.
constexpr std::size_t cabeza = lector_lineas::max_linea + lectura;
// After the data: the block the scan reads whole, and what precarga() is pointed at, so that
// even that pointer stays inside the buffer.
constexpr std::size_t cola = bytes_bloque + distancia_precarga;
// Marks are made for the data of one read only, never for the line copied before it.
constexpr std::size_t bloques_de(std::size_t bytes) { return (bytes + bytes_bloque - 1) / bytes_bloque; }

const texto_error linea_larga{"line longer than 1 MiB", "línea de más de 1 MiB"};

}  // namespace

lector_lineas::lector_lineas(fuente& origen, std::filesystem::path fichero)
    : origen_(origen),
      fichero_(std::move(fichero)),
      ini_(nullptr),
      fin_(nullptr),
      bloque_(nullptr),
      siguientes_(nullptr),
      fin_marcas_(nullptr) {
  // A file said to be smaller than one read gets buffers of its own size: it costs what it
  // holds, not the megabytes of full buffers, which a fuzzer would otherwise make and fill for
  // every input. Should it prove longer, full buffers take over.
  const std::optional<std::uint64_t> tamano = origen_.tamano();
  if (tamano && *tamano < lectura) {
    ajustado_ = true;
    previsto_ = static_cast<std::size_t>(*tamano) + 1;
  }
  // The first read goes to buffers_[1], and needs no room before it: nothing came before.
  pedidos_[1] = ajustado_ ? previsto_ : lectura;
  buffers_[1].reset(new char[pedidos_[1] + cola]);
  palabras_[1].reset(new std::uint64_t[bloques_de(pedidos_[1])]);
}

lector_lineas::~lector_lineas() {
  adelanto_.reset();  // before the buffers it may be filling
}

void lector_lineas::prepara(int indice) {
  // Room for the unfinished line: in a file of its size no line is longer than the file.
  const std::size_t cab = ajustado_ ? previsto_ : cabeza;
  const std::size_t pedido = ajustado_ ? previsto_ : lectura;
  if (cabezas_[indice] == cab && pedidos_[indice] == pedido) return;
  buffers_[indice].reset(new char[cab + pedido + cola]);
  if (pedidos_[indice] != pedido || !palabras_[indice])
    palabras_[indice].reset(new std::uint64_t[bloques_de(pedido)]);
  cabezas_[indice] = cab;
  pedidos_[indice] = pedido;
}

bool lector_lineas::lee_resto(std::string_view& linea) {
  for (;;) {
    busca_marca();
    if (marcas_ == 0) {
      // Every line end read is taken: what is left after ini_ is part of one line.
      if (static_cast<std::size_t>(fin_ - ini_) > max_linea)
        throw error_conversion(desbordamiento, linea_larga, fichero_, num_linea_ + 1);
      if (rellena()) continue;
      if (ini_ == fin_) return false;
      linea = std::string_view(ini_, static_cast<std::size_t>(fin_ - ini_));
      ini_ = fin_;
      ++num_linea_;
      return true;
    }
    const char* p = fin_marcado();
    // A CR that ends the buffer may be the first half of CR LF: look at the next byte first.
    if (*p == '\r' && p + 1 == fin_ && !agotado_) {
      rellena();
      continue;
    }
    if (static_cast<std::size_t>(p - ini_) > max_linea)
      throw error_conversion(desbordamiento, linea_larga, fichero_, num_linea_ + 1);
    toma(p, linea);
    return true;
  }
}

// Reads into buffers_[indice] after its room for a line, and marks what it read: on the
// reading thread, once there is one, so that the scan costs this one nothing either.
std::size_t lector_lineas::lee_buffer(int indice) {
  char* const datos = buffers_[indice].get() + cabezas_[indice];
  // Buffers of the file's size take no more than it was said to hold, all reads together.
  const std::size_t pedido = ajustado_ ? previsto_ - leidos_ajustado_ : pedidos_[indice];
  const std::size_t n = origen_.lee(datos, pedido);
  if (ajustado_) leidos_ajustado_ += n;
  std::memset(datos + n, 0, bytes_bloque);
  bloques_[indice] = marca_fines(datos, datos + n, palabras_[indice].get());
  return n;
}

std::size_t lector_lineas::lee_aqui(int indice) {
  if (ini_ != nullptr) {  // but for the first read, into the buffer made for it
    // A file longer than it was said to be reads on in full buffers.
    if (ajustado_ && leidos_ajustado_ == previsto_) ajustado_ = false;
    prepara(indice);
  }
  return lee_buffer(indice);
}

// The other buffer takes the next part of the file, and the unfinished line of this one.
bool lector_lineas::rellena() {
  if (agotado_) return false;
  const int otro = 1 - actual_;
  const std::size_t n = adelanto_ ? recoge_adelantado() : lee_aqui(otro);
  if (n == 0) {
    // What is left of this buffer, a last line without its end or a CR that ends the file,
    // stays where it is: past it lie the 64 defined bytes the scan needs.
    agotado_ = true;
    return false;
  }
  // The unfinished line goes just before the new data. It holds no line end, as every one
  // before fin_ was taken, but for a CR that ended the data to wait for a possible LF.
  char* const datos = buffers_[otro].get() + cabezas_[otro];
  const std::size_t pendientes = static_cast<std::size_t>(fin_ - ini_);
  if (pendientes > 0) std::memcpy(datos - pendientes, ini_, pendientes);
  ini_ = datos - pendientes;
  fin_ = datos + n;
  actual_ = otro;
  std::uint64_t* const palabras = palabras_[otro].get();
  const std::size_t bloques = bloques_[otro];
  if (pendientes > 0 && datos[-1] == '\r') {
    // That CR ends a line, and an LF right after it is part of that end, not one of its own.
    // Its mark is the last bit of a word for the block before the data, which holds nothing
    // else: the bytes there before ini_ are no longer read.
    if (bloques > 0 && datos[0] == '\n') palabras[0] &= ~std::uint64_t{1};
    bloque_ = datos - bytes_bloque;
    marcas_ = std::uint64_t{1} << 63;
    siguientes_ = palabras;
  } else {
    bloque_ = datos;
    marcas_ = bloques > 0 ? palabras[0] : 0;
    siguientes_ = palabras + (bloques > 0 ? 1 : 0);
  }
  fin_marcas_ = palabras + bloques;
  adelanta(1 - otro, n);  // the buffer just left, whose line is copied out
  return true;
}

// The read-ahead: a layer over rellena(), which without it reads in place.

// What the thread read; its failure, once met, comes out of every later call, rather than a
// count of bytes it never read.
std::size_t lector_lineas::recoge_adelantado() {
  if (!error_adelanto_) error_adelanto_ = adelanto_->espera();
  if (error_adelanto_) std::rethrow_exception(error_adelanto_);
  return leidos_;
}

// Sets the thread to fill buffers_[indice] once `leidos`, the read just made, filled its
// whole request (a file larger than one read is worth a thread); without one, reading goes on
// in place.
void lector_lineas::adelanta(int indice, std::size_t leidos) {
  if (!adelanto_) {
    if (leidos != lectura) return;
    try {
      adelanto_ = std::make_unique<relevo>([this] { leidos_ = lee_buffer(a_llenar_); });
    } catch (const std::system_error&) {
      return;
    }
  }
  prepara(indice);
  a_llenar_ = indice;
  adelanto_->pide();
}

}  // namespace tolvar
