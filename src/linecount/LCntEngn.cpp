// The line counter's run: its inputs (a list file, a wildcard pattern or names), the count of
// every file and its form, and the run's record.
#include "linecount/LCntEngn.h"

#include <algorithm>
#include <deque>
#include <mutex>
#include <thread>

#include "common/Checked.h"
#include "common/Error.h"
#include "common/PathUtil.h"
#include "common/TextLines.h"
#include "common/VornString.h"
#include "linecount/LCntReports.h"
#include "platform/FileSys.h"

namespace ravelin {

// ---------------------------------------------------------------------------------------------
// Input

void TLcntEngine::SetFileSpec(std::string_view name) {
  std::string spec(name);
  if (UpperText(ExtensionOf(spec)) == ".DFM") spec = ChangeExtension(spec, ".pas");
  FileSpec = spec;
  CurrentFile = FileSpec;
  SpecPath = FolderPart(FileSpec);
}

namespace {
/// A list-file line without the blanks and control characters around it. Bytes from 128 up
/// are kept: on this system they are parts of UTF-8 names (Ärger.pas), not noise.
std::string TrimListName(std::string_view line) {
  auto noise = [](char c) { return static_cast<unsigned char>(c) <= 32 || c == 127; };
  size_t begin = 0, end = line.size();
  while (begin < end && noise(line[begin])) ++begin;
  while (end > begin && noise(line[end - 1])) --end;
  return std::string(line.substr(begin, end - begin));
}
}  // namespace

std::vector<std::string> ListFileNames(std::string_view text) {
  std::vector<std::string> names;
  ForEachLine(text, [&](std::string_view line) {
    std::string name = TrimListName(line);
    if (!name.empty()) names.push_back(std::move(name));
  });
  return names;
}

void TLcntEngine::NextFile() {
  if (!Names && NameSource) {
    haveName_ = NameSource(CurrentFile);
    if (!haveName_) CurrentFile.clear();
    return;
  }
  if (Names) {
    haveName_ = namePos_ < Names->size();
    if (haveName_) {
      CurrentFile = (*Names)[namePos_++];
    } else {
      CurrentFile.clear();
    }
    return;
  }
  if (UseListFile) {
    do {
      if (!listLines_ || !listLines_->Next(listLine_)) {
        CurrentFile.clear();
        listLines_.reset();
        listFile_.reset();
        return;
      }
      CurrentFile = TrimListName(listLine_);
    } while (CurrentFile.empty());
    return;
  }

  if (firstSearch_) {
    // The pattern's folder is listed once; its entries, folders included, in listing order.
    firstSearch_ = false;
    matches_.clear();
    matchPos_ = 0;
    const std::string pattern = NamePart(CurrentFile);
    for (const DirEntry& entry : Fs().ListFolder(Fs().FullPath(SpecPath))) {
      if (WildcardMatch(pattern, entry.name)) matches_.push_back(entry.name);
    }
  }
  if (matchPos_ < matches_.size()) {
    searchResult_ = 0;
    CurrentFile = SpecPath + matches_[matchPos_++];
  } else {
    searchResult_ = -1;
  }
}

bool TLcntEngine::HasFile() const {
  if (Names || NameSource) return haveName_;
  return UseListFile ? !CurrentFile.empty() : searchResult_ == 0;
}

// ---------------------------------------------------------------------------------------------
// Counting

bool TLcntEngine::CountFile(const std::string& fileName, TLineCounts& counts,
                            std::uint64_t* bytes) {
  counts = TLineCounts{};
  // One buffer a thread, kept from file to file: no fresh pages for every file read.
  thread_local ReadBuffer buffer;
  if (!Fs().TryReadFile(fileName, buffer)) return false;
  if (bytes != nullptr) *bytes = buffer.Text().size();
  WithErrorContext("in \"" + fileName + "\"", [&] { ClassifyText(buffer.Text(), counts); });
  return true;
}

bool TLcntEngine::CountForm(const std::string& fileName, TFormCounts& counts) {
  return CountFormNamed(fileName, counts, formName_);
}

bool TLcntEngine::CountFormNamed(const std::string& fileName, TFormCounts& counts,
                                 std::string& formName) {
  std::unique_ptr<NewFile>* scratch = FormScratch ? &scratch_ : nullptr;
  if (CountFormFile(fileName, counts, formName, scratch)) return true;
  return LazarusForms && CountFormFile(fileName, counts, formName, scratch, ".LFM");
}

void TLcntEngine::BeginRecord() {
  Record = LineCountRecord{};
  Record.FileSpec = FileSpec;
}

TLcntEngine::FileOutcome TLcntEngine::CountInput(const std::string& fileName) {
  FileOutcome outcome;
  try {
    outcome.found = CountFile(fileName, outcome.counts, &outcome.bytes);
    outcome.hasForm = CountFormNamed(fileName, outcome.formCounts, outcome.formName);
    if (outcome.hasForm) outcome.bytes += static_cast<std::uint64_t>(outcome.formCounts.Size);
  } catch (const Error&) {
    outcome.error = std::current_exception();
  }
  return outcome;
}

void TLcntEngine::AddOutcome(const std::string& fileName, FileOutcome outcome) {
  if (outcome.error) {
    if (!KeepGoing) std::rethrow_exception(outcome.error);
    try {
      std::rethrow_exception(outcome.error);
    } catch (const Error& e) {
      Record.files.push_back(
          {fileName, FolderPart(fileName), true, false, TLineCounts{}, e.what()});
      CheckedInc(Record.SkippedCount);
    }
    return;
  }
  try {
    AddLineCounts(outcome.counts, Record.Totals);
    CheckedInc(Record.FileCount);
  } catch (const OverflowError&) {
    throw OverflowError("Integer overflow: the totals or the number of files grew too large at \"" +
                        fileName + "\"");
  }
  CountedFile file{fileName, FolderPart(fileName), outcome.found, false, outcome.counts, {}};
  if (outcome.hasForm) {
    try {
      AddFormCounts(outcome.formCounts, Record.FormTotals);
      CheckedInc(Record.FormCount);
    } catch (const OverflowError&) {
      throw OverflowError(
          "Integer overflow: the form totals or the number of forms grew too large at \"" +
          fileName + "\"");
    }
    file.hasForm = true;
    Record.forms.push_back({fileName, std::move(outcome.formName), outcome.formCounts});
  }
  Record.files.push_back(std::move(file));
  if (OnProgress) OnProgress(outcome.bytes);
}

void TLcntEngine::AddFile(const std::string& fileName, bool found, const TLineCounts& counts) {
  FileOutcome outcome;
  outcome.found = found;
  outcome.counts = counts;
  formName_.clear();
  outcome.hasForm = CountForm(fileName, outcome.formCounts);
  outcome.formName = formName_;
  AddOutcome(fileName, std::move(outcome));
}

void TLcntEngine::CountInOrder() {
  for (NextFile(); HasFile(); NextFile()) AddOutcome(CurrentFile, CountInput(CurrentFile));
}

void TLcntEngine::CountInParallel(unsigned jobs) {
  // Each worker takes the next name, counts the file, and then adds to the record every
  // outcome that is done in an unbroken run from the oldest one not yet added (one worker at
  // a time does that), so the record is the same for any number of workers and no thread
  // waits for another to be woken.
  struct Slot {
    std::string name;
    FileOutcome outcome;
    bool done = false;
  };
  std::mutex inputMutex;  // taking names: held before stateMutex when both are
  bool inputEnded = false;
  std::exception_ptr inputError;
  std::mutex stateMutex;   // the slots and the flags below
  std::deque<Slot> slots;  // taken and not yet added, in order; a slot never moves
  bool adding = false;     // a worker is adding outcomes to the record
  std::exception_ptr failure;

  auto stopTaking = [&] {
    std::lock_guard<std::mutex> input(inputMutex);
    inputEnded = true;
  };
  auto takeName = [&]() -> Slot* {
    std::lock_guard<std::mutex> input(inputMutex);
    if (!inputEnded) {
      try {
        NextFile();
        inputEnded = !HasFile();
      } catch (...) {
        inputError = std::current_exception();
        inputEnded = true;
      }
    }
    if (inputEnded) return nullptr;
    std::lock_guard<std::mutex> state(stateMutex);
    slots.push_back(Slot{CurrentFile, {}, false});
    return &slots.back();
  };
  auto work = [&] {
    while (Slot* slot = takeName()) {
      FileOutcome outcome;
      try {
        outcome = CountInput(slot->name);
      } catch (...) {  // out of memory and the like: the run ends at this file
        outcome.error = std::current_exception();
      }
      std::unique_lock<std::mutex> state(stateMutex);
      slot->outcome = std::move(outcome);
      slot->done = true;
      if (adding || failure) continue;
      adding = true;
      while (!failure && !slots.empty() && slots.front().done) {
        Slot ready = std::move(slots.front());
        slots.pop_front();
        state.unlock();
        std::exception_ptr error;
        try {
          AddOutcome(ready.name, std::move(ready.outcome));
        } catch (...) {
          error = std::current_exception();
          stopTaking();
        }
        state.lock();
        if (error) failure = error;
      }
      adding = false;
    }
  };
  {
    std::vector<std::jthread> workers;
    for (unsigned j = 1; j < jobs; ++j) workers.emplace_back(work);
    work();
  }
  if (failure) std::rethrow_exception(failure);
  if (inputError) std::rethrow_exception(inputError);
}

// ---------------------------------------------------------------------------------------------
// One run

TLcntEngine::TLcntEngine() = default;
TLcntEngine::~TLcntEngine() = default;

void TLcntEngine::OpenInput() {
  firstSearch_ = true;
  searchResult_ = -1;
  matches_.clear();
  matchPos_ = 0;
  namePos_ = 0;
  haveName_ = false;
  // The list is read a line at a time: a list file of any length takes little memory.
  CloseInput();
  if (UseListFile && !Names && !NameSource) {
    OpenedFile opened = Fs().OpenRead(FileSpec, Readable::FileOrPipe);
    if (!opened.file) {
      throw IoError("Cannot open the list file \"" + FileSpec + "\": " + opened.whyNot,
                    opened.whyNot);
    }
    listFile_ = std::move(opened.file);
    listLines_ = std::make_unique<LineReader>(ReadLines(*listFile_));
  }
}

void TLcntEngine::CloseInput() {
  listLines_.reset();
  listFile_.reset();
  // The wildcard search holds no system resource; forget its listing.
  matches_.clear();
}

void TLcntEngine::Count() {
  Fs().ClearCache();
  scratch_.reset();
  OpenInput();
  try {
    BeginRecord();
    // The scratch file has one name: forms converted through it are counted one at a time.
    const unsigned jobs = FormScratch ? 1 : std::max(Jobs, 1u);
    if (jobs == 1) {
      CountInOrder();
    } else {
      CountInParallel(jobs);
    }
  } catch (...) {
    // A failed run leaves no scratch file of its own behind.
    if (scratch_) scratch_->Remove();
    scratch_.reset();
    CloseInput();
    throw;
  }
  scratch_.reset();
  CloseInput();
}

bool TLcntEngine::Execute() {
  Count();
  Lines = RenderLineCountText(Record, Detailed, LineCounter().LastReportPath);
  return true;
}

}  // namespace ravelin
