#pragma once

#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

namespace tolvar {

// One task run again and again on a second thread, handed over and waited for: the line
// reader's read-ahead and the disk sink's write-behind. What the task reads and writes
// besides is its owner's, who touches it only while nothing is in hand (before pide(), after
// espera()): the handing over orders those accesses between the two threads.
class relevo {
 public:
  // Starts the thread; std::system_error when the system gives none.
  explicit relevo(std::function<void()> tarea);
  // Stops the thread: a task running ends first, one handed over but not started never runs.
  ~relevo();
  relevo(const relevo&) = delete;
  relevo& operator=(const relevo&) = delete;

  // Hands the task over to run once more. Only while nothing is in hand.
  void pide();
  // Waits until nothing is in hand, and gives what the task threw since the last call, once
  // (null when it threw nothing).
  std::exception_ptr espera() noexcept;

 private:
  void bucle();

  std::function<void()> tarea_;
  std::mutex mutex_;
  std::condition_variable cambio_;
  bool pedido_ = false;   // handed over and not yet done
  bool parar_ = false;
  std::exception_ptr error_;
  std::thread hilo_;      // last: it starts once everything it uses is built
};

}  // namespace tolvar
