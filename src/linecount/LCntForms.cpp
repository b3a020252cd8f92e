// Form counting: the form file that belongs to an input file, its objects, lines and size.
#include "linecount/LCntForms.h"

#include <algorithm>
#include <limits>
#include <memory>

#include "common/Checked.h"
#include "common/Error.h"
#include "common/PathUtil.h"
#include "common/VornString.h"
#include "linecount/FormConv.h"
#include "platform/FileSys.h"

namespace ravelin {

namespace {

/// Text of the converter collected before it goes to the scratch file.
constexpr size_t kScratchChunk = size_t{1} << 20;

/// The marker of the binary resource format: the first three bytes of a binary form.
constexpr std::string_view kBinaryMarker("\xFF\x0A\x00", 3);

/// Adds the lines and "object" lines of a whole text (line ends CR LF, CR or LF; Ctrl-Z ends
/// it).
void CountTextLines(std::string_view text, TFormCounts& counts) {
  FormLineCounter counter;
  counter.Feed(text);
  counter.Finish();
  CheckedAdd(counts.Lines, counter.Lines());
  CheckedAdd(counts.Objects, counter.Objects());
}

/// The name to show in messages: the file as spelled on disk when it can be found.
std::string DiskName(const std::string& path) {
  if (auto resolved = Fs().Resolve(path)) return *resolved;
  return path;
}

}  // namespace

void AddFormCounts(const TFormCounts& src, TFormCounts& dst) {
  CheckedAdd(dst.Objects, src.Objects);
  CheckedAdd(dst.Size, src.Size);
  CheckedAdd(dst.Lines, src.Lines);
}

bool CountFormFile(const std::string& fileName, TFormCounts& counts, std::string& formName,
                   std::unique_ptr<NewFile>* scratch, std::string_view formExtension) {
  const std::string dfmName = ChangeExtension(fileName, formExtension);
  const FileStat stat = Fs().Stat(dfmName);
  if (!stat.exists || stat.isDir) return false;
  const std::string shownName = DiskName(dfmName);
  formName = FolderPart(fileName) + NamePart(shownName);

  // The size is a 32-bit counter: a larger file is out of range before it is read.
  constexpr auto kMaxSize = static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max());
  auto checkSize = [&](std::uint64_t size) {
    if (size > kMaxSize) {
      throw OverflowError("Integer overflow: the form file \"" + shownName + "\" holds " +
                          std::to_string(size) + " bytes, more than 2,147,483,647");
    }
  };
  checkSize(stat.size);
  std::string data;
  std::string whyNot;
  if (!Fs().TryReadFile(dfmName, data, &whyNot)) {
    throw IoError("Cannot open the form file \"" + shownName + "\": " + whyNot, whyNot);
  }
  checkSize(data.size());

  TFormCounts result;
  result.Size = static_cast<std::int32_t>(data.size());
  if (data.size() < kBinaryMarker.size()) {
    counts = result;
    return true;
  }

  if (std::string_view(data).substr(0, kBinaryMarker.size()) == kBinaryMarker) {
    // A binary form: its textual form goes to the scratch file, written anew (never through
    // a link or into another file) and taking its name only when the form converted whole.
    // The lines are counted as the text is written, exactly as reading the scratch file back
    // would count them: the text can be hundreds of times larger than the form (deep
    // indents), so it is never held whole, and past its limit the run stops.
    const std::uint64_t limit =
        std::min<std::uint64_t>(data.size() * kFormTextFactor, kMaxFormTextSize);
    std::unique_ptr<NewFile> written;
    if (scratch != nullptr)
      written = Fs().CreateNewFile(JoinPath(Fs().CurrentFolder(), kScratchName));
    FormLineCounter counter;
    std::string pending;
    std::uint64_t size = 0;
    auto flush = [&] {
      if (written) written->Write(pending);
      pending.clear();
    };
    try {
      ConvertFormBinaryToText(data, [&](std::string_view piece) {
        size += piece.size();
        if (size > limit) {
          throw LimitError("The form file \"" + shownName + "\" turns into more than " +
                           std::to_string(limit) +
                           " bytes of text (the limit: 256 times the form's size, at most "
                           "1 GiB)");
        }
        counter.Feed(piece);
        pending.append(piece);
        if (pending.size() >= kScratchChunk) flush();
      });
      counter.Finish();
    } catch (const StreamError& e) {
      e.Rethrow(MessageWithContext(e.what(), "in form file \"" + shownName + "\""));
    } catch (const OverflowError&) {
      throw OverflowError("Integer overflow: the textual form of the form file \"" + shownName +
                          "\" holds too many lines");
    }
    flush();
    if (written) {
      written->Commit();
      *scratch = std::move(written);  // removed again when the run fails
    }
    result.Lines = counter.Lines();
    result.Objects = counter.Objects();
  } else {
    // A text form, already read: counted as it stands.
    try {
      CountTextLines(data, result);
    } catch (const OverflowError&) {
      throw OverflowError("Integer overflow: the form file \"" + shownName +
                          "\" holds too many lines");
    }
  }
  counts = result;
  return true;
}

void CountFormText(const std::string& fileName, TFormCounts& counts) {
  const std::string text = Fs().ReadFile(fileName);
  try {
    CountTextLines(text, counts);
  } catch (const OverflowError&) {
    throw OverflowError("Integer overflow: the form text \"" + fileName +
                        "\" holds too many lines");
  }
}

}  // namespace ravelin
