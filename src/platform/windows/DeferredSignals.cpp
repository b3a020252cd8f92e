// Holding back Ctrl+C, Ctrl+Break and the console's closing while a file is inconsistent
// (Windows: console control events instead of signals).
#include "platform/DeferredSignals.h"

#include <windows.h>

#include <atomic>
#include <mutex>

namespace ravelin {

namespace {

std::mutex depthMutex;
int depth = 0;
std::atomic<bool> arrived{false};

BOOL WINAPI NoteEvent(DWORD) {
  arrived = true;
  return TRUE;  // handled: the process goes on until the file is whole
}

}  // namespace

DeferredSignals::DeferredSignals() {
  std::lock_guard<std::mutex> lock(depthMutex);
  if (depth++ == 0) {
    arrived = false;
    ::SetConsoleCtrlHandler(NoteEvent, TRUE);
  }
}

DeferredSignals::~DeferredSignals() {
  std::lock_guard<std::mutex> lock(depthMutex);
  if (--depth != 0) return;
  ::SetConsoleCtrlHandler(NoteEvent, FALSE);
  // What the event would have done: end the program as an interrupted console program ends.
  if (arrived) ::ExitProcess(STATUS_CONTROL_C_EXIT);
}

bool DeferredSignals::Arrived() {
  return arrived;
}

}  // namespace ravelin
