// The record of one line count run: what was counted, file by file and form by form, and the
// totals. The engine fills it; the report renderers (text, JSON, CSV) only read it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "linecount/LCntForms.h"
#include "linecount/LineClassifier.h"

namespace ravelin {

/// One input of the run.
struct CountedFile {
  std::string name;      ///< the name as given (list file line, command line, walk)
  std::string folder;    ///< its folder part, the group of its "PATH: " line; empty when none
  bool found = true;     ///< false when the file could not be opened (counts are then zero)
  bool hasForm = false;  ///< a form file belongs to it: the next entry of the run's forms
  TLineCounts counts;    ///< its lines
  /// Why the file could not be counted (the run went on without it); empty when it was.
  std::string skipped;
};

/// The form of one input.
struct CountedForm {
  std::string input;   ///< the input file's name as given
  std::string name;    ///< the form file: the input's folder and the form's name as on disk
  TFormCounts counts;  ///< its objects, lines and size
};

/// A whole run, in input order.
struct LineCountRecord {
  std::string FileSpec;            ///< the list file, pattern or list name the summary names
  std::vector<CountedFile> files;  ///< every input, in input order
  std::vector<CountedForm> forms;  ///< the inputs' forms, in input order
  TLineCounts Totals;              ///< the counts of all files
  TFormCounts FormTotals;          ///< the counts of all forms
  std::uint16_t FileCount = 0;     ///< files counted (a 16-bit counter, checked)
  std::uint16_t FormCount = 0;     ///< forms counted (a 16-bit counter, checked)
  std::uint32_t SkippedCount = 0;  ///< files that could not be counted (not in the totals)
};

}  // namespace ravelin
