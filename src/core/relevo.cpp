#include "core/relevo.h"

#include <utility>

namespace tolvar {

relevo::relevo(std::function<void()> tarea)
    : tarea_(std::move(tarea)), hilo_(&relevo::bucle, this) {}

relevo::~relevo() {
  {
    const std::lock_guard<std::mutex> bloqueo(mutex_);
    parar_ = true;
  }
  cambio_.notify_one();
  hilo_.join();
}

void relevo::pide() {
  {
    const std::lock_guard<std::mutex> bloqueo(mutex_);
    pedido_ = true;
  }
  cambio_.notify_one();
}

std::exception_ptr relevo::espera() noexcept {
  std::unique_lock<std::mutex> bloqueo(mutex_);
  cambio_.wait(bloqueo, [this] { return !pedido_; });
  return std::exchange(error_, nullptr);
}

void relevo::bucle() {
  std::unique_lock<std::mutex> bloqueo(mutex_);
  for (;;) {
    cambio_.wait(bloqueo, [this] { return pedido_ || parar_; });
    if (parar_) return;
    bloqueo.unlock();
    std::exception_ptr error;
    try {
      tarea_();
    } catch (...) {
      error = std::current_exception();
    }
    bloqueo.lock();
    if (error) error_ = error;
    pedido_ = false;
    cambio_.notify_one();
  }
}

}  // namespace tolvar
