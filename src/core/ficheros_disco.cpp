// The one place that talks to the operating system about files: std::FILE for the data,
// std::filesystem for the rest, and the Windows hidden attribute behind an #ifdef.
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>
#include <system_error>
#include <utility>

#include "core/error_conversion.h"
#include "core/ficheros.h"
#include "core/relevo.h"
#include "core/texto.h"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

namespace tolvar {
namespace {

std::FILE* abre_lectura(const std::filesystem::path& ruta) {
#ifdef _WIN32
  std::FILE* f = nullptr;
  if (_wfopen_s(&f, ruta.c_str(), L"rb") != 0) return nullptr;
  return f;
#else
  return std::fopen(ruta.c_str(), "rb");
#endif
}

#ifdef _WIN32
int errno_de_windows(DWORD codigo) {
  switch (codigo) {
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return EEXIST;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_WRITE_PROTECT: return EACCES;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return ENOSPC;
    default: return EIO;
  }
}
#endif

// A file that did not exist: fails, rather than follow it, when anything (a link too) has taken
// the name since it was cleared.
std::FILE* crea_exclusivo(const std::filesystem::path& ruta) {
#ifdef _WIN32
  // CREATE_NEW fails on any existing name; without FILE_FLAG_OPEN_REPARSE_POINT a dangling
  // link would be followed and its target created.
  const HANDLE h = CreateFileW(ruta.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    errno = errno_de_windows(GetLastError());
    return nullptr;
  }
  const int fd = _open_osfhandle(reinterpret_cast<std::intptr_t>(h), _O_WRONLY | _O_BINARY);
  if (fd == -1) {
    CloseHandle(h);
    return nullptr;
  }
  std::FILE* f = _fdopen(fd, "wb");
  if (f == nullptr) _close(fd);
  return f;
#else
  // "x" (C11) is O_CREAT | O_EXCL, which never follows a link, dangling or not.
  return std::fopen(ruta.c_str(), "wbx");
#endif
}

std::error_code ultimo_error() { return {errno ? errno : EIO, std::generic_category()}; }

bool oculto(const std::filesystem::directory_entry& entrada) {
  const std::string nombre = texto_ruta(entrada.path().filename());
  if (!nombre.empty() && nombre.front() == '.') return true;
#ifdef _WIN32
  const DWORD atributos = GetFileAttributesW(entrada.path().c_str());
  if (atributos != INVALID_FILE_ATTRIBUTES &&
      (atributos & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0)
    return true;
#endif
  return false;
}

class fuente_disco final : public fuente {
 public:
  fuente_disco(std::FILE* f, std::filesystem::path ruta) : f_(f), ruta_(std::move(ruta)) {
    // Our readers keep their own large buffer; a second one in stdio only costs a copy.
    std::setvbuf(f_, nullptr, _IONBF, 0);
  }
  ~fuente_disco() override { std::fclose(f_); }
  // No size: the pages of a full buffer that a small file leaves untouched cost nothing here,
  // and asking the system for the size costs a call per file.
  fuente_disco(const fuente_disco&) = delete;
  fuente_disco& operator=(const fuente_disco&) = delete;

  std::size_t lee(char* destino, std::size_t max) override {
    errno = 0;
    const std::size_t n = std::fread(destino, 1, max, f_);
    if (n == 0 && std::ferror(f_)) throw error_sistema(ultimo_error(), al_leer, ruta_);
    return n;
  }

 private:
  std::FILE* f_;
  std::filesystem::path ruta_;
};

// Once a buffer fills (an output larger than one buffer), a second thread writes it while this
// one fills the other: the system's copy of a .bin into its cache is then off the conversion's
// path. A write that fails there is reported by the next escribe() that hands over a buffer,
// or by cierra().
class sumidero_disco final : public sumidero {
 public:
  // Large enough that writes cost nothing next to the conversion, small enough that the
  // memory touched stays the same whatever the size of the drawing and of its error list.
  static constexpr std::size_t capacidad = std::size_t{256} << 10;

  sumidero_disco(std::FILE* f, std::filesystem::path ruta)
      : f_(f), ruta_(std::move(ruta)), buffer_(new char[capacidad]) {
    std::setvbuf(f_, nullptr, _IONBF, 0);
  }
  ~sumidero_disco() override {
    if (f_ == nullptr) return;
    // After a failed write, what follows it would only leave a hole in the file.
    const bool fallo = escritor_ && escritor_->espera() != nullptr;
    if (usados_ > 0 && !fallo) std::fwrite(buffer_.get(), 1, usados_, f_);
    usados_ = 0;
    escritor_.reset();
    std::fclose(f_);
  }
  sumidero_disco(const sumidero_disco&) = delete;
  sumidero_disco& operator=(const sumidero_disco&) = delete;

  void escribe(std::string_view bytes) override {
    if (bytes.size() > capacidad - usados_) {
      vuelca();
      if (bytes.size() >= capacidad) {
        comprueba_escritor();
        escribe_directo(bytes.data(), bytes.size());
        return;
      }
    }
    std::memcpy(buffer_.get() + usados_, bytes.data(), bytes.size());
    usados_ += bytes.size();
  }

  void cierra() override {
    if (f_ == nullptr) return;
    const std::size_t n = usados_;
    usados_ = 0;  // a failed write is reported once, not again by the destructor
    comprueba_escritor();
    if (n > 0) escribe_directo(buffer_.get(), n);
    escritor_.reset();
    std::FILE* f = f_;
    f_ = nullptr;
    errno = 0;
    if (std::fclose(f) != 0) throw error_sistema(ultimo_error(), al_escribir, ruta_);
  }

 private:
  void escribe_directo(const char* datos, std::size_t n) {
    errno = 0;
    if (std::fwrite(datos, 1, n, f_) != n)
      throw error_sistema(ultimo_error(), al_escribir, ruta_);
  }

  // Hands the full buffer to the writing thread, started here the first time, and goes on in
  // the other one.
  void vuelca() {
    const std::size_t n = usados_;
    usados_ = 0;
    if (n == 0) return;
    if (!escritor_) {
      otro_.reset(new char[capacidad]);
      try {
        escritor_ = std::make_unique<relevo>([this] { escribe_directo(a_escribir_, pendientes_); });
      } catch (const std::system_error&) {
        escribe_directo(buffer_.get(), n);  // no thread: the write is made here
        return;
      }
    }
    comprueba_escritor();
    a_escribir_ = buffer_.get();
    pendientes_ = n;
    escritor_->pide();
    std::swap(buffer_, otro_);
  }

  // Waits until the writing thread has nothing in hand, then throws what its last write met,
  // once.
  void comprueba_escritor() {
    if (!escritor_) return;
    if (const std::exception_ptr error = escritor_->espera()) std::rethrow_exception(error);
  }

  std::FILE* f_;
  std::filesystem::path ruta_;
  std::unique_ptr<char[]> buffer_;  // the one being filled
  std::unique_ptr<char[]> otro_;    // the one the thread writes; only once there is a thread
  std::size_t usados_ = 0;

  // The write-behind: the thread writes pendientes_ bytes at a_escribir_. Last, so that the
  // thread stops before anything it uses goes.
  const char* a_escribir_ = nullptr;
  std::size_t pendientes_ = 0;
  std::unique_ptr<relevo> escritor_;
};

}  // namespace

std::unique_ptr<fuente> ficheros_disco::abre(const std::filesystem::path& ruta) {
  errno = 0;
  std::FILE* f = abre_lectura(ruta);
  if (f == nullptr) throw error_sistema(ultimo_error(), al_abrir, ruta);
  return std::make_unique<fuente_disco>(f, ruta);
}

std::unique_ptr<sumidero> ficheros_disco::crea(const std::filesystem::path& ruta) {
  // symlink_status: a link is looked at, and removed, as itself. A directory stays, and the
  // creation below refuses it.
  std::error_code ec;
  const std::filesystem::file_status estado = std::filesystem::symlink_status(ruta, ec);
  if (!ec && std::filesystem::exists(estado) && !std::filesystem::is_directory(estado) &&
      !std::filesystem::remove(ruta, ec) && ec)
    throw error_sistema(ec, al_borrar, ruta);
  errno = 0;
  std::FILE* f = crea_exclusivo(ruta);
  if (f == nullptr) throw error_sistema(ultimo_error(), al_crear, ruta);
  return std::make_unique<sumidero_disco>(f, ruta);
}

std::vector<std::filesystem::path> ficheros_disco::lista(const std::filesystem::path& directorio) {
  std::vector<std::filesystem::path> nombres;
  std::error_code ec;
  std::filesystem::directory_iterator it(directorio, ec), fin;
  if (ec) throw error_sistema(ec, al_listar, directorio);
  for (; it != fin; it.increment(ec)) {
    std::error_code ec_tipo;
    if (!it->is_regular_file(ec_tipo) || oculto(*it)) continue;
    nombres.push_back(it->path().filename());
  }
  if (ec) throw error_sistema(ec, al_listar, directorio);
  return nombres;
}

}  // namespace tolvar
