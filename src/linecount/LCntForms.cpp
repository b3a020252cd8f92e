// Form counting: the form file that belongs to an input file, its objects, lines and size, and
// the forms detailed report and form count summary.
#include <algorithm>
#include <limits>
#include <memory>

#include "common/Checked.h"
#include "common/Error.h"
#include "common/PathUtil.h"
#include "common/VornString.h"
#include "linecount/FormConv.h"
#include "linecount/LCntEngn.h"
#include "platform/FileSys.h"

namespace ravelin {

namespace {

/// The scratch file that receives the textual form of a binary form, in the current folder.
constexpr const char* kScratchName = "Tallion.TXT";

/// Text of the converter collected before it goes to the scratch file.
constexpr size_t kScratchChunk = size_t{1} << 20;

/// The marker of the binary resource format: the first three bytes of a binary form.
constexpr std::string_view kBinaryMarker("\xFF\x0A\x00", 3);

constexpr int kFormNameWidth = 20;

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

bool TLcntEngine::CountForm(const std::string& fileName, TFormCounts& counts) {
  const std::string formName = ChangeExtension(fileName, ".DFM");
  const FileStat stat = Fs().Stat(formName);
  if (!stat.exists || stat.isDir) return false;
  const std::string shownName = DiskName(formName);

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
  if (!Fs().TryReadFile(formName, data, &whyNot)) {
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
    std::unique_ptr<NewFile> scratch =
        Fs().CreateNewFile(JoinPath(Fs().CurrentFolder(), kScratchName));
    FormLineCounter counter;
    std::string pending;
    std::uint64_t size = 0;
    auto flush = [&] {
      scratch->Write(pending);
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
      throw StreamError(std::string(e.what()) + " in form file \"" + shownName + "\"");
    } catch (const OverflowError&) {
      throw OverflowError("Integer overflow: the textual form of the form file \"" + shownName +
                          "\" holds too many lines");
    }
    flush();
    scratch->Commit();
    scratch_ = std::move(scratch);  // removed again when the run fails
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

void TLcntEngine::CountFormText(const std::string& fileName, TFormCounts& counts) {
  const std::string text = Fs().ReadFile(fileName);
  try {
    CountTextLines(text, counts);
  } catch (const OverflowError&) {
    throw OverflowError("Integer overflow: the form text \"" + fileName +
                        "\" holds too many lines");
  }
}

void TLcntEngine::WriteFormHeader() {
  FormLines.push_back("                           FORMS Detailed Report");
  FormLines.push_back(PadLeftWith("name", ' ', kFormNameWidth) +
                      "      Objects        Lines         Size");
  WriteFormSeparator();
}

void TLcntEngine::WriteFormSeparator() {
  FormLines.push_back(std::string(kFormNameWidth, '-') + "     --------     --------     --------");
}

void TLcntEngine::WriteFormRow(const std::string& name, const TFormCounts& counts) {
  std::string displayName = NamePart(name);
  if (UpperText(ExtensionOf(name)) == ".PAS") displayName = ChangeExtension(displayName, ".dfm");
  std::string row;
  if (displayName.size() > kFormNameWidth) {
    FormLines.push_back(displayName);
    row = std::string(kFormNameWidth, ' ');
  } else {
    row = PadLeftWith(displayName, ' ', kFormNameWidth);
  }
  row += "     " + IntToStrWidth(counts.Objects, 8);
  row += "     " + IntToStrWidth(counts.Lines, 8);
  row += "     " + IntToStrWidth(counts.Size, 8);
  FormLines.push_back(row);
}

void TLcntEngine::WriteFormTotals() {
  WriteFormSeparator();
  WriteFormRow("TOTAL", FormTotals);
  FormLines.emplace_back();
  FormLines.push_back(" " + IntToText(FormCount) + " forms processed.");
}

void TLcntEngine::WriteFormSummary() {
  FormLines.emplace_back();
  FormLines.push_back("Form Count Summary Report for: ");
  FormLines.push_back("    " + FileSpec);
  if (FileCount > 1) {
    FormLines.push_back("    (a list file containing " + IntToText(FormCount) + " form names)");
  }
  FormLines.emplace_back();
  FormLines.push_back("                category      value");
  FormLines.push_back("------------------------     ------");
  FormLines.push_back("           Total Objects     " + IntToStrWidth(FormTotals.Objects, 6));
  FormLines.push_back("        Equivalent Lines     " + IntToStrWidth(FormTotals.Lines, 6));
  FormLines.push_back("        Size (all Forms)     " + IntToStrWidth(FormTotals.Size, 6) +
                      "  bytes");
}

}  // namespace ravelin
