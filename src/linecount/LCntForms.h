// Form counting: the form file that belongs to an input file, its component objects, the lines
// of its textual form and its size. A binary form's textual form goes through the scratch file.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace ravelin {

class NewFile;

/// The three counters of one form file or of all forms of a run.
struct TFormCounts {
  std::int32_t Objects = 0;  ///< lines of the textual form whose first word is "object"
  std::int32_t Size = 0;     ///< size of the form file in bytes, as stored
  std::int32_t Lines = 0;    ///< all lines of the textual form
};

/// The scratch file that receives the textual form of a binary form, in the current folder.
inline constexpr const char* kScratchName = "Tallion.TXT";
/// The textual form of a binary form may be at most this many times the form's size...
inline constexpr std::uint64_t kFormTextFactor = 256;
/// ... and never more than this many bytes (1 GiB); a form whose text would pass either limit
/// ends the run.
inline constexpr std::uint64_t kMaxFormTextSize = std::uint64_t{1} << 30;

/// Adds each counter of src to the same counter of dst; overflow throws OverflowError.
void AddFormCounts(const TFormCounts& src, TFormCounts& dst);

/// Counts the form file of an input file into counts (the form file's name, as on disk, into
/// formName); false when it has none. With scratch, a binary form's textual form replaces the
/// scratch file in the current folder, which *scratch then holds (the caller removes it when
/// its run fails); without, it is counted in memory and nothing is written. Errors (IoError,
/// OverflowError, StreamError, LimitError) name the form file. The form file is the input's
/// name with the extension formExtension (".DFM", or ".LFM" for Lazarus forms).
bool CountFormFile(const std::string& fileName, TFormCounts& counts, std::string& formName,
                   std::unique_ptr<NewFile>* scratch, std::string_view formExtension = ".DFM");
/// Counts the lines and "object" lines of a text file into counts.
void CountFormText(const std::string& fileName, TFormCounts& counts);

}  // namespace ravelin
