// The count command's operands walked on a thread of their own.
#include "cli/OperandWalk.h"

#include "common/PathUtil.h"
#include "common/VornString.h"
#include "platform/FileSys.h"

namespace ravelin::cli {

OperandWalk::OperandWalk(std::vector<std::string> operands, WalkOptions options)
    : operands_(std::move(operands)), options_(std::move(options)) {
  for (const std::string& operand : operands_) {
    const FileStat stat = operand.empty() ? FileStat{} : Fs().Stat(operand);
    // A name that exists is taken as a name even when it holds "*" or "?".
    kinds_.push_back(HasWildcard(operand) && !stat.exists ? OperandKind::Pattern
                     : !stat.exists                       ? OperandKind::Missing
                     : stat.isDir                         ? OperandKind::Folder
                                                          : OperandKind::File);
  }
}

OperandWalk::~OperandWalk() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
}

bool OperandWalk::Next(std::string& name) {
  std::unique_lock<std::mutex> lock(mutex_);
  if (!started_) {
    started_ = true;
    thread_ = std::jthread([this] { Walk(); });
  }
  given_.wait(lock, [&] { return !names_.empty() || ended_; });
  if (names_.empty()) {
    if (error_) std::rethrow_exception(error_);
    return false;
  }
  name = std::move(names_.front());
  names_.pop_front();
  return true;
}

void OperandWalk::WriteWarnings(std::ostream& err, std::string_view program) {
  std::vector<std::string> lines;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    lines.swap(warnings_);
  }
  for (const std::string& line : lines) err << program << ": warning: " << line << "\n";
}

void OperandWalk::Give(std::string name) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (stop_) throw Stopped{};
  names_.push_back(std::move(name));
  given_.notify_one();
}

void OperandWalk::Warn(std::string line) {
  std::lock_guard<std::mutex> lock(mutex_);
  warnings_.push_back(std::move(line));
}

void OperandWalk::Walk() {
  std::exception_ptr error;
  try {
    FileWalk walk(options_, [&](const WalkWarning& warning) {
      Warn(Describe(warning));
      std::lock_guard<std::mutex> lock(mutex_);
      (warning.kind == WalkWarning::Kind::Folder ? folderSkipped_ : strictFailed_) = true;
    });
    walk.SetFileSink([&](WalkedFile file) { Give(std::move(file.path)); });
    for (size_t i = 0; i < operands_.size(); ++i) {
      const std::string& operand = operands_[i];
      if (kinds_[i] == OperandKind::Pattern) {
        // A pattern for forms counts their units, as the window's file mask does.
        std::string pattern = operand;
        if (UpperText(ExtensionOf(pattern)) == ".DFM") pattern = ChangeExtension(pattern, ".pas");
        if (walk.AddPattern(pattern) == 0) {
          Warn("pattern \"" + operand + "\" matches no file");
          std::lock_guard<std::mutex> lock(mutex_);
          strictFailed_ = true;
        }
      } else if (walk.AddRoot(operand) == RootKind::Missing) {
        Give(operand);  // counted as not found, in its place
      }
    }
  } catch (const Stopped&) {
  } catch (...) {
    error = std::current_exception();
  }
  std::lock_guard<std::mutex> lock(mutex_);
  error_ = error;
  ended_ = true;
  given_.notify_one();
}

}  // namespace ravelin::cli
