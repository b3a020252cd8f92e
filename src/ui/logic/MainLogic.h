// The main window without its widgets: the two file lists with their selections, the move
// operations between them, the button rules, the size rules and the four commands. The Qt
// window mirrors this state in its controls and forwards its events here, so every decision
// can be tested without a display.
#pragma once

#include <exception>
#include <string>
#include <vector>

#include "units/UnitReports.h"

namespace ravelin {

/// One multi-select list box of file names: entries, a selection flag per entry, a current
/// (caret) entry, and optional self-sorting that ignores letter case.
class FileList {
 public:
  /// An empty list; sorted lists keep their entries in order without regard to case.
  explicit FileList(bool sorted = false) : sorted_(sorted) {}

  /// Number of entries.
  int Count() const { return static_cast<int>(entries_.size()); }
  /// True when the list holds no entry.
  bool Empty() const { return entries_.empty(); }
  /// The text of entry index (0-based, must be valid).
  const std::string& Item(int index) const;
  /// Every entry's text in list order.
  std::vector<std::string> Items() const;
  /// True when entry index is selected.
  bool Selected(int index) const;
  /// Selects or deselects entry index.
  void SetSelected(int index, bool selected);
  /// Deselects every entry.
  void ClearSelection();
  /// The indexes of the selected entries, ascending.
  std::vector<int> SelectedIndexes() const;
  /// Adds an unselected entry: at the end, or at its place when the list is sorted (after
  /// entries that equal it ignoring case). Returns its index.
  int Add(const std::string& text);
  /// Removes entry index.
  void Delete(int index);
  /// Removes every entry.
  void Clear();
  /// True when the list sorts itself.
  bool Sorted() const { return sorted_; }
  /// Switches sorting on (the entries reorder at once, each keeping its selection) or off.
  void SetSorted(bool sorted);
  /// The current (caret) entry, -1 when none.
  int Current() const { return current_; }
  /// Makes entry index the current entry (-1: none).
  void SetCurrent(int index);

 private:
  struct Entry {
    std::string text;
    bool selected = false;
  };
  std::vector<Entry> entries_;
  bool sorted_;
  int current_ = -1;
};

/// The lowest index whose entry is selected, or -1.
int FirstSelected(const FileList& list);
/// Moves the selected entries of from to the end of to, taking from's entries from the last
/// down to the first, so they arrive in reverse order (a sorted target sorts them).
void MoveSelected(FileList& from, FileList& to);
/// Selects the entry at index (-1 means 0, beyond the end means the last) in addition to any
/// selection left and makes it current; nothing on an empty list.
void SelectNear(FileList& list, int index);
/// True when the file name's extension, in capitals, is ".DPR".
bool IsProjectFile(const std::string& fileName);
/// The entry that a unit command keeps as its root file: the first project file, else the
/// first entry; -1 for an empty list.
int RootFileIndex(const FileList& list);

/// Enabled states of the five move buttons.
struct MoveButtons {
  bool include = false;  ///< ">"
  bool incAll = false;   ///< ">>"
  bool exclude = false;  ///< "<"
  bool exAll = false;    ///< "<<"
  bool delAll = false;   ///< "--"
};
/// The move buttons for the two lists: ">" and ">>" need source entries, "<" and "<<"
/// process entries, "--" either.
MoveButtons MoveButtonStates(const FileList& src, const FileList& dst);

/// A rectangle in the parent's client coordinates.
struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const Rect&) const = default;
};

/// Where every panel and the moving controls of the main window go for one client size.
struct MainLayout {
  int clientWidth = 0;   ///< client width after the minimum was applied
  int clientHeight = 0;  ///< client height after the minimum was applied
  Rect pnlLeft, splHorizon, pnlDst, pnlOptions, pnlButton;  ///< in the window
  Rect pnlSrc, pnlCtrls;                                    ///< in pnlLeft
  Rect lblSrc, lstSrc;                                      ///< in pnlSrc
  Rect lblDst, lstDst;                                      ///< in pnlDst
  Rect btnSource, btnCancel, btnOptions;                    ///< in pnlButton
};

/// Smallest client area of the main window.
constexpr int kMinClientWidth = 455;
constexpr int kMinClientHeight = 255;
/// Designed width of the left panel (source list and move buttons).
constexpr int kLeftPanelWidth = 185;

/// The left panel's width after pnlLeftResize: never narrower than the move buttons' panel,
/// and leaving the command panel its room and the process list's panel minDstWidth.
int ClampLeftWidth(int wanted, int clientWidth, int minDstWidth);

/// Lays the window out for a client size and a wanted left panel width: the client size
/// raised to 455 x 255 (FormResize), panels aligned to the edges, the splitter after
/// pnlLeft (ClampLeftWidth), lblSrc as wide as pnlSrc minus 4 (pnlSrcResize), lists filling
/// their panels below their labels; btnOptions at the right edge of pnlButton, btnCancel
/// under the process list, kept right of btnSource and left of btnOptions.
MainLayout ComputeMainLayout(int clientWidth, int clientHeight, int leftWidth, int minDstWidth);

/// What a command needs from the window around the logic: the dialogs shown with the window
/// as their owner and the refresh of the controls.
class MainWindowHooks {
 public:
  virtual ~MainWindowHooks() = default;
  /// Settles the report file (may change fileName); false stops the command.
  virtual bool ChooseReportFile(std::string& fileName) = 0;
  /// Opens a finished report in the viewer.
  virtual void ShowReport(const std::string& fileName) = 0;
  /// Shows the lists, the folder label and the button states as the logic now holds them.
  virtual void Refresh() = 0;
  /// Gives the input focus to the source list (true) or the process list (false).
  virtual void FocusList(bool sourceList) = 0;
};

/// The caption of the source folder label before the first choice of source files.
extern const char* const kSourceFilesCaption;
/// The filter of the source-file dialog.
extern const char* const kSourceFilter;
/// The question before a unit list of an earlier command is used again.
extern const char* const kReuseQuestion;

/// The main window's state and operations. byUser tells an operation started by a control
/// from one called by another operation.
class MainLogic {
 public:
  /// Logic driving hooks, which must outlive it.
  explicit MainLogic(MainWindowHooks& hooks) : hooks_(hooks) {}

  FileList Src{true};   ///< lstSrc: the source files, sorted
  FileList Dst{false};  ///< lstDst: the process list, unsorted until the first Line Count
  std::string SrcCaption = kSourceFilesCaption;  ///< lblSrc: the source folder with "/"
  MoveButtons Buttons;                           ///< the move buttons' enabled states
  bool ReuseChecked = false;                     ///< chkReuseIt checked
  bool ReuseEnabled = false;                     ///< chkReuseIt enabled

  /// Sets the move buttons from the lists.
  void UpdateButtons();
  /// Opens the source-file dialog; on confirmation the chosen files replace the source list
  /// and their folder becomes the label's caption and the current folder. Enables ">" and
  /// ">>" when the source list has entries.
  void DoSourceClick();
  /// Moves the selected source files to the process list; selects near the first moved one.
  void DoIncludeClick(bool byUser);
  /// Moves the selected process files back to the source list.
  void DoExcludeClick(bool byUser);
  /// Makes the source folder (lblSrc) the process's current folder when it is one: the unit
  /// lookup and the line counter's scratch file use the current folder, whatever another
  /// dialog did to it.
  void EnterSourceFolder();
  /// Moves every source file to the process list in list order.
  void DoIncAllClick(bool byUser);
  /// Moves every process file back to the source list.
  void DoExcAllClick(bool byUser);
  /// Empties both lists and the unit analysis.
  void DoDelAllClick();
  /// Moves process entries back until one is left, keeping RootFileIndex's entry; the unit
  /// analysis is kept.
  void ReduceToOneFile();
  /// True when the last unit analysis is to be used again: it has units, and the box is
  /// checked or the user answers Yes to kReuseQuestion.
  bool ReuseUnitList();
  /// Enables the reuse box exactly when the unit file list has entries.
  void UpdateReuseBox();
  /// The Line Count command.
  void DoCountLines(bool byUser);
  /// The Unit List, Unit Tree and Unit Depend commands.
  void DoUnitCommand(UnitReportKind report, bool byUser);

  /// Runs command; an error it throws is shown in one error box, and the window refreshed.
  template <typename F>
  void Guarded(F&& command);

 private:
  void ShowErrorAndRefresh(const char* message);
  void MovedFrom(FileList& list, int index, bool sourceList, bool byUser, bool clearAlways);
  // Puts the process files into the source list when it is empty; false when still empty.
  bool FillEmptyProcessList(bool byUser);
  void WriteListFile(const std::string& listFileName);

  MainWindowHooks& hooks_;
};

/// Appends report lines to a file, each ended by CR LF, after a line end when the file's
/// last line has none (Fs().AppendReport: whole or absent, what the file held is kept).
void AppendReportLines(const std::string& fileName, const std::vector<std::string>& lines);

template <typename F>
void MainLogic::Guarded(F&& command) {
  try {
    command();
  } catch (const std::exception& e) {
    ShowErrorAndRefresh(e.what());
  }
}

}  // namespace ravelin
