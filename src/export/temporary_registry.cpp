#include "export/temporary_registry.h"

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstring>

namespace kerfline {
namespace {

// A fixed table, because a signal handler may neither allocate nor take a lock. A slot is
// filled while marked Filling and seen by the handler only once it is Live.
enum SlotState : int { Free, Filling, Live };

struct Slot {
  std::atomic<int> state{Free};
  bool folder = false;
  char path[PATH_MAX] = {};
};

constexpr int kSlots = 64;
Slot slots[kSlots];

static_assert(std::atomic<int>::is_always_lock_free, "the signal handler reads slot states");

void removeAll(int signal) {
  const int savedErrno = errno;
  // Files first: a scratch folder can only be removed once what it holds is gone.
  for (const bool folders : {false, true}) {
    for (Slot& slot : slots) {
      if (slot.state.load(std::memory_order_acquire) != Live || slot.folder != folders) continue;
      if (folders) {
        ::rmdir(slot.path);
      } else {
        ::unlink(slot.path);
      }
    }
  }
  errno = savedErrno;
  // SA_RESETHAND has restored the default action; the signal is blocked inside the handler
  // and delivered, ending the process, as soon as it returns.
  ::raise(signal);
}

}  // namespace

RegisteredTemporary::RegisteredTemporary(const std::string& path, bool folder) noexcept : slot_(-1) {
  if (path.size() >= PATH_MAX) return;
  for (int i = 0; i < kSlots; ++i) {
    int expected = Free;
    if (!slots[i].state.compare_exchange_strong(expected, Filling)) continue;
    std::memcpy(slots[i].path, path.c_str(), path.size() + 1);
    slots[i].folder = folder;
    slots[i].state.store(Live, std::memory_order_release);
    slot_ = i;
    return;
  }
}

RegisteredTemporary::~RegisteredTemporary() {
  if (slot_ >= 0) slots[slot_].state.store(Free, std::memory_order_release);
}

void removeTemporariesOnSignal() {
  // SIGPIPE too: a reader of standard output that stops early (| head) ends the run while the
  // finished drawing still sits in its scratch folder.
  for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) {
    struct sigaction current {};
    if (::sigaction(signal, nullptr, &current) != 0 || current.sa_handler == SIG_IGN) continue;
    struct sigaction action {};
    action.sa_handler = removeAll;
    sigemptyset(&action.sa_mask);
    // Any one of them runs the cleanup once; the others wait until the process is gone.
    sigaddset(&action.sa_mask, SIGINT);
    sigaddset(&action.sa_mask, SIGTERM);
    sigaddset(&action.sa_mask, SIGHUP);
    sigaddset(&action.sa_mask, SIGPIPE);
    action.sa_flags = SA_RESETHAND;
    ::sigaction(signal, &action, nullptr);
  }
}

}  // namespace kerfline
