// The placement of a Qt window as the settings file keeps it.
#pragma once

#include <string>

#include "settings/LstGlobal.h"

class QWidget;

namespace ravelin {

/// A top-level widget seen as a WindowPlacement: Top and Left are the corner of its frame on
/// the screen (QWidget::pos), Height and Width the size inside the frame. The frame's own size
/// is not known before the window system has shown the window, so sizes with the frame would
/// make a window grow by its frame on every start.
class QtWindowPlacement : public WindowPlacement {
 public:
  /// The placement of window, kept in the settings section sectionName.
  QtWindowPlacement(QWidget& window, std::string sectionName);
  std::string SectionName() const override { return section_; }
  int Top() const override;
  void SetTop(int value) override;
  int Left() const override;
  void SetLeft(int value) override;
  int Height() const override;
  void SetHeight(int value) override;
  int Width() const override;
  void SetWidth(int value) override;

 private:
  QWidget& window_;
  std::string section_;
};

}  // namespace ravelin
