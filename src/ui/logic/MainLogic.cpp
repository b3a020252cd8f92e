#include "ui/logic/MainLogic.h"

#include <algorithm>
#include <optional>

#include "common/PathUtil.h"
#include "common/TextLines.h"
#include "common/VornString.h"
#include "linecount/LCntEngn.h"
#include "platform/FileSys.h"
#include "platform/UiServices.h"
#include "settings/LstGlobal.h"
#include "units/UnitScan.h"

namespace ravelin {

const char* const kSourceFilesCaption = "Source Files:";
const char* const kSourceFilter =
    "Projects (*.dpr; *.lpr)|*.dpr;*.lpr|Units (*.pas; *.pp)|*.pas;*.pp|Include (*.in?)|*.in?|"
    "All Source Files (*.dpr; *.lpr; *.pas; *.pp; *.in?)|*.dpr;*.lpr;*.pas;*.pp;*.in*";
const char* const kReuseQuestion = "Reuse existing list of units?";

// ---------------------------------------------------------------------------------------------
// FileList

const std::string& FileList::Item(int index) const {
  return entries_.at(index).text;
}

std::vector<std::string> FileList::Items() const {
  std::vector<std::string> items;
  items.reserve(entries_.size());
  for (const Entry& e : entries_) items.push_back(e.text);
  return items;
}

bool FileList::Selected(int index) const {
  return entries_.at(index).selected;
}

void FileList::SetSelected(int index, bool selected) {
  entries_.at(index).selected = selected;
}

void FileList::ClearSelection() {
  for (Entry& e : entries_) e.selected = false;
}

std::vector<int> FileList::SelectedIndexes() const {
  std::vector<int> indexes;
  for (int i = 0; i < Count(); ++i)
    if (entries_[i].selected) indexes.push_back(i);
  return indexes;
}

namespace {
bool TextLess(const std::string& a, const std::string& b) {
  return CompareUpperText(a, b) < 0;
}
}  // namespace

int FileList::Add(const std::string& text) {
  auto pos = entries_.end();
  if (sorted_) {
    pos =
        std::upper_bound(entries_.begin(), entries_.end(), text,
                         [](const std::string& t, const Entry& e) { return TextLess(t, e.text); });
  }
  int index = static_cast<int>(pos - entries_.begin());
  entries_.insert(pos, Entry{text, false});
  if (current_ >= index) ++current_;
  return index;
}

void FileList::Delete(int index) {
  entries_.erase(entries_.begin() + index);
  if (current_ == index) {
    current_ = -1;
  } else if (current_ > index) {
    --current_;
  }
}

void FileList::Clear() {
  entries_.clear();
  current_ = -1;
}

void FileList::SetSorted(bool sorted) {
  if (sorted && !sorted_) {
    std::string currentText = current_ >= 0 ? entries_[current_].text : std::string();
    bool hadCurrent = current_ >= 0;
    std::stable_sort(entries_.begin(), entries_.end(),
                     [](const Entry& a, const Entry& b) { return TextLess(a.text, b.text); });
    // The caret stays on an entry with the same text.
    current_ = -1;
    if (hadCurrent) {
      for (int i = 0; i < Count(); ++i)
        if (entries_[i].text == currentText) {
          current_ = i;
          break;
        }
    }
  }
  sorted_ = sorted;
}

void FileList::SetCurrent(int index) {
  current_ = (index >= 0 && index < Count()) ? index : -1;
}

// ---------------------------------------------------------------------------------------------
// Moving entries

int FirstSelected(const FileList& list) {
  for (int i = 0; i < list.Count(); ++i)
    if (list.Selected(i)) return i;
  return -1;
}

void MoveSelected(FileList& from, FileList& to) {
  for (int i = from.Count() - 1; i >= 0; --i) {
    if (from.Selected(i)) {
      to.Add(from.Item(i));
      from.Delete(i);
    }
  }
}

void SelectNear(FileList& list, int index) {
  if (list.Empty()) return;
  if (index < 0) index = 0;
  if (index > list.Count() - 1) index = list.Count() - 1;
  list.SetSelected(index, true);
  list.SetCurrent(index);
}

bool IsProjectFile(const std::string& fileName) {
  return UpperText(ExtensionOf(fileName)) == ".DPR";
}

int RootFileIndex(const FileList& list) {
  for (int i = 0; i < list.Count(); ++i)
    if (IsProjectFile(list.Item(i))) return i;
  return list.Empty() ? -1 : 0;
}

MoveButtons MoveButtonStates(const FileList& src, const FileList& dst) {
  MoveButtons b;
  bool s = !src.Empty();
  bool p = !dst.Empty();
  b.include = b.incAll = s;
  b.exclude = b.exAll = p;
  b.delAll = s || p;
  return b;
}

// ---------------------------------------------------------------------------------------------
// Size rules

namespace {
constexpr int kCtrlsWidth = 30;    // pnlCtrls: the move buttons
constexpr int kSplitterWidth = 3;  // splHorizon
constexpr int kOptionsWidth = 80;  // pnlOptions: the command buttons
constexpr int kButtonHeight = 38;  // pnlButton
}  // namespace

int ClampLeftWidth(int wanted, int clientWidth, int minDstWidth) {
  int most = clientWidth - kOptionsWidth - kSplitterWidth - minDstWidth;
  return std::max(kCtrlsWidth, std::min(wanted, most));
}

MainLayout ComputeMainLayout(int clientWidth, int clientHeight, int leftWidth, int minDstWidth) {
  MainLayout l;
  const int w = std::max(clientWidth, kMinClientWidth);
  const int h = std::max(clientHeight, kMinClientHeight);
  l.clientWidth = w;
  l.clientHeight = h;
  const int areaHeight = h - kButtonHeight;
  const int left = ClampLeftWidth(leftWidth, w, minDstWidth);

  l.pnlButton = {0, areaHeight, w, kButtonHeight};
  l.pnlLeft = {0, 0, left, areaHeight};
  l.splHorizon = {left, 0, kSplitterWidth, areaHeight};
  l.pnlOptions = {w - kOptionsWidth, 0, kOptionsWidth, areaHeight};
  l.pnlDst = {left + kSplitterWidth, 0, w - kOptionsWidth - left - kSplitterWidth, areaHeight};

  l.pnlCtrls = {left - kCtrlsWidth, 0, kCtrlsWidth, areaHeight};
  l.pnlSrc = {0, 0, left - kCtrlsWidth, areaHeight};
  l.lblSrc = {3, 8, l.pnlSrc.width - 4, 16};
  l.lstSrc = {1, 33, l.pnlSrc.width - 2, areaHeight - 33 - 1};
  l.lblDst = {2, 8, 145, 16};
  l.lstDst = {1, 28, l.pnlDst.width - 2, areaHeight - 28 - 1};

  // Options at the right edge; Cancel under the process list, right of Source Folder and
  // left of Options.
  l.btnSource = {4, 4, 150, 30};
  l.btnOptions = {l.pnlButton.width - kOptionsWidth, 4, kOptionsWidth, 30};
  const int cancelLeft = std::max(l.pnlDst.left, l.btnSource.left + l.btnSource.width);
  l.btnCancel = {cancelLeft, 4, std::min(l.pnlDst.width, l.btnOptions.left - cancelLeft), 30};
  return l;
}

// ---------------------------------------------------------------------------------------------
// The window's operations

void MainLogic::UpdateButtons() {
  Buttons = MoveButtonStates(Src, Dst);
}

void MainLogic::DoSourceClick() {
  OpenFileRequest request;
  request.title = "Select Source Files";
  request.filter = kSourceFilter;
  request.filterIndex = 4;
  request.multiSelect = true;
  request.mustExist = true;
  std::optional<std::vector<std::string>> files = Ui().OpenFiles(request);
  if (files && !files->empty()) {
    Src.Clear();
    SrcCaption = FolderPart(files->front());
    for (const std::string& file : *files) Src.Add(file);
    EnterSourceFolder();
  }
  if (!Src.Empty()) {
    Buttons.include = true;
    Buttons.incAll = true;
  }
  hooks_.Refresh();
}

void MainLogic::EnterSourceFolder() {
  if (!SrcCaption.empty() && Fs().FolderExists(SrcCaption)) Fs().SetCurrentFolder(SrcCaption);
}

void MainLogic::MovedFrom(FileList& list, int index, bool sourceList, bool byUser,
                          bool clearAlways) {
  hooks_.FocusList(sourceList);
  SelectNear(list, index);
  UpdateButtons();
  if (byUser || clearAlways) ClearUnitAnalysis();
  hooks_.Refresh();
}

void MainLogic::DoIncludeClick(bool byUser) {
  if (Src.Empty()) return;
  int first = FirstSelected(Src);
  MoveSelected(Src, Dst);
  MovedFrom(Src, first, true, byUser, false);
}

void MainLogic::DoExcludeClick(bool byUser) {
  if (Dst.Empty()) return;
  int first = FirstSelected(Dst);
  MoveSelected(Dst, Src);
  MovedFrom(Dst, first, false, byUser, false);
}

void MainLogic::DoIncAllClick(bool byUser) {
  for (const std::string& item : Src.Items()) Dst.Add(item);
  Src.Clear();
  MovedFrom(Src, 0, true, byUser, false);
}

void MainLogic::DoExcAllClick(bool byUser) {
  for (const std::string& item : Dst.Items()) Src.Add(item);
  Dst.Clear();
  MovedFrom(Dst, 0, false, byUser, true);
}

void MainLogic::DoDelAllClick() {
  ClearUnitAnalysis();
  Src.Clear();
  Dst.Clear();
  UpdateButtons();
  hooks_.Refresh();
}

void MainLogic::ReduceToOneFile() {
  if (Dst.Count() < 2) return;
  int keep = RootFileIndex(Dst);
  // One entry back per step, from the end, until only the root file is left.
  while (Dst.Count() > 1) {
    Dst.ClearSelection();
    int victim = (keep == Dst.Count() - 1) ? Dst.Count() - 2 : Dst.Count() - 1;
    Dst.SetSelected(victim, true);
    DoExcludeClick(false);
    if (victim < keep) --keep;
  }
}

bool MainLogic::ReuseUnitList() {
  if (UnitAnalysis().UnitFiles.Names().empty()) return false;
  if (ReuseChecked) return true;
  return Ui().AskYesNo(kReuseQuestion);
}

void MainLogic::UpdateReuseBox() {
  ReuseEnabled = !UnitAnalysis().UnitFiles.Names().empty();
}

bool MainLogic::FillEmptyProcessList(bool byUser) {
  if (Dst.Empty()) {
    DoSourceClick();
    DoIncAllClick(byUser);
  }
  return !Dst.Empty();
}

void MainLogic::WriteListFile(const std::string& listFileName) {
  std::vector<std::string> entries;
  if (ReuseUnitList()) {
    entries = UnitAnalysis().UnitFiles.Names();
  } else {
    Dst.SetSorted(true);
    hooks_.Refresh();
    entries = Dst.Items();
  }
  std::string text;
  for (const std::string& entry : entries) {
    text += entry;
    text += "\r\n";
  }
  Fs().ReplaceFile(listFileName, text);
}

void AppendReportLines(const std::string& fileName, const std::vector<std::string>& lines) {
  Fs().AppendReport(fileName, JoinLinesCrLf(lines), ReportStart::OnOwnLine);
}

void MainLogic::DoCountLines(bool byUser) {
  if (!FillEmptyProcessList(byUser)) return;
  std::string reportName = SrcCaption + DefaultReportName;
  if (!hooks_.ChooseReportFile(reportName)) return;
  EnterSourceFolder();
  // A failed run leaves the process list as it was, unsorted when it was so.
  const FileList before = Dst;
  try {
    TLcntEngine engine;
    engine.SetFileSpec(SrcCaption + kListFileName);
    WriteListFile(engine.FileSpec);
    bool done = false;
    {
      BusyCursor busy;
      engine.UseListFile = true;
      engine.Detailed = true;
      done = engine.Execute();
      if (done) AppendReportLines(reportName, engine.Lines);
    }
    if (done) {
      hooks_.ShowReport(reportName);
      UpdateReuseBox();
    }
  } catch (...) {
    Dst = before;
    UpdateButtons();
    hooks_.Refresh();
    throw;
  }
  hooks_.Refresh();
}

void MainLogic::DoUnitCommand(UnitReportKind report, bool byUser) {
  FillEmptyProcessList(byUser);
  ReduceToOneFile();
  if (Dst.Empty()) return;
  std::string reportName = SrcCaption + DefaultReportName;
  if (!hooks_.ChooseReportFile(reportName)) return;
  EnterSourceFolder();
  const std::string root = Dst.Item(0);
  if (!ReuseUnitList()) {
    Ui().ProcessEvents();
    BusyCursor busy;
    try {
      BuildUnitTree(root, UnitLookup::FromSettings(Settings()));
    } catch (...) {
      // Half an analysis must never be offered for reuse.
      ClearUnitAnalysis();
      UpdateReuseBox();
      throw;
    }
  }
  ReportWriter f;
  OpenReportFile(f, reportName);
  WriteUnitReport(report, UnitAnalysis(), root, f);
  hooks_.ShowReport(reportName);
  UpdateReuseBox();
  hooks_.Refresh();
}

void MainLogic::ShowErrorAndRefresh(const char* message) {
  Ui().ShowError(message);
  UpdateButtons();
  hooks_.Refresh();
}

}  // namespace ravelin
