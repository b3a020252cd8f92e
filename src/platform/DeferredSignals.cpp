#include "platform/DeferredSignals.h"

#include <signal.h>
#include <unistd.h>

#include <csignal>
#include <mutex>

namespace ravelin {

namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
constexpr int kCount = sizeof kSignals / sizeof kSignals[0];

volatile std::sig_atomic_t arrived[kCount];

struct State {
  std::mutex mutex;
  int depth = 0;
  pid_t owner = 0;  // the process that holds the signals back
  bool caught[kCount] = {};
  struct sigaction old[kCount];
};

State& TheState() {
  static State state;
  return state;
}

extern "C" void NoteSignal(int signal) {
  for (int i = 0; i < kCount; ++i)
    if (kSignals[i] == signal) arrived[i] = 1;
}

}  // namespace

DeferredSignals::DeferredSignals() {
  State& state = TheState();
  std::lock_guard<std::mutex> lock(state.mutex);
  // A process forked while its parent held the signals back starts afresh, from the parent's
  // own handling of them; what it noted since the fork is its own.
  const bool forked = state.depth > 0 && state.owner != ::getpid();
  for (int i = 0; forked && i < kCount; ++i)
    if (state.caught[i]) ::sigaction(kSignals[i], &state.old[i], nullptr);
  if (forked) state.depth = 0;
  if (state.depth++ > 0) return;
  state.owner = ::getpid();
  for (int i = 0; i < kCount; ++i) {
    if (!forked) arrived[i] = 0;
    state.caught[i] = false;
    if (::sigaction(kSignals[i], nullptr, &state.old[i]) != 0) continue;
    if (!(state.old[i].sa_flags & SA_SIGINFO) && state.old[i].sa_handler == SIG_IGN) continue;
    struct sigaction note {};
    note.sa_handler = NoteSignal;
    sigfillset(&note.sa_mask);
    note.sa_flags = 0;  // no SA_RESTART: a wait for a lock returns, so it can give up
    state.caught[i] = ::sigaction(kSignals[i], &note, nullptr) == 0;
  }
}

DeferredSignals::~DeferredSignals() {
  int toRaise[kCount];
  int raiseCount = 0;
  {
    State& state = TheState();
    std::lock_guard<std::mutex> lock(state.mutex);
    if (--state.depth > 0) return;
    for (int i = 0; i < kCount; ++i) {
      if (!state.caught[i]) continue;
      ::sigaction(kSignals[i], &state.old[i], nullptr);
      state.caught[i] = false;
    }
    for (int i = 0; i < kCount; ++i) {
      if (arrived[i]) toRaise[raiseCount++] = kSignals[i];
      arrived[i] = 0;
    }
  }
  // Outside the lock: a handler of the program's own may well make a file consistent again.
  for (int i = 0; i < raiseCount; ++i) ::raise(toRaise[i]);
}

bool DeferredSignals::Arrived() {
  for (int i = 0; i < kCount; ++i)
    if (arrived[i]) return true;
  return false;
}

}  // namespace ravelin
