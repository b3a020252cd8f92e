// Holding back the signals that end a program from a terminal or a job control (SIGINT,
// SIGTERM, SIGHUP) while a file is inconsistent, and letting them take effect afterwards.
#pragma once

namespace ravelin {

/// While an object lives, SIGINT, SIGTERM and SIGHUP are caught in whichever thread they
/// arrive and noted; when it goes, the program's own handling of them is put back and each
/// noted signal is raised again, so that it then does what it would have done. A signal the
/// program ignores stays ignored. Objects may nest; only the outermost one acts.
class DeferredSignals {
 public:
  DeferredSignals();
  ~DeferredSignals();
  DeferredSignals(const DeferredSignals&) = delete;
  DeferredSignals& operator=(const DeferredSignals&) = delete;

  /// True when one of the signals has arrived since the outermost object was made. A system
  /// call waiting meanwhile (a lock) returns with EINTR: no handler restarts it.
  static bool Arrived();
};

}  // namespace ravelin
