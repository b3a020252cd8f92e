// The count command's folders and patterns walked on a thread of their own: the line counter
// takes the names while the walk goes on.
#pragma once

#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "platform/FileWalk.h"

namespace ravelin::cli {

/// What a command-line operand names, as found before anything is walked.
enum class OperandKind { Missing, File, Folder, Pattern };

/// The operands of one count, walked in the order given into the names to count.
class OperandWalk {
 public:
  /// Looks at what each operand names; nothing is walked yet.
  OperandWalk(std::vector<std::string> operands, WalkOptions options);
  /// Stops a walk still going on (at its next file) and waits for it.
  ~OperandWalk();
  OperandWalk(const OperandWalk&) = delete;
  OperandWalk& operator=(const OperandWalk&) = delete;

  /// What each operand names, in the order given.
  const std::vector<OperandKind>& Kinds() const { return kinds_; }
  /// The next name to count, waiting for the walk (which the first call starts): a file
  /// found, or an operand that names nothing, in its place; false after the last. Rethrows
  /// what ended the walk. Called on one thread at a time.
  bool Next(std::string& name);
  /// Writes the warnings given so far (unreadable folders, patterns without a match), one
  /// line each prefixed with program, and forgets them.
  void WriteWarnings(std::ostream& err, std::string_view program);
  /// After the last name: a folder could not be read (inputs were left out).
  bool FolderSkipped() const { return folderSkipped_; }
  /// After the last name: a pattern matched nothing, or git's rules could not be read.
  bool StrictFailed() const { return strictFailed_; }

 private:
  /// The walk itself, on its own thread.
  void Walk();
  /// Queues a name to count; throws Stopped when the walk is to end.
  void Give(std::string name);
  /// Queues a warning line.
  void Warn(std::string line);

  struct Stopped {};

  std::vector<std::string> operands_;
  std::vector<OperandKind> kinds_;
  WalkOptions options_;

  std::mutex mutex_;  // guards everything below but the thread
  std::condition_variable given_;
  std::deque<std::string> names_;
  std::vector<std::string> warnings_;
  bool ended_ = false;
  bool stop_ = false;
  std::exception_ptr error_;
  bool folderSkipped_ = false;
  bool strictFailed_ = false;
  bool started_ = false;
  std::jthread thread_;  // last: joined before the state above goes away
};

}  // namespace ravelin::cli
