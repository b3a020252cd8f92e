#include "ui/QtPlacement.h"

#include <QWidget>

namespace ravelin {

TQtWindowPlacement::TQtWindowPlacement(QWidget& window, std::string sectionName)
    : window_(window), section_(std::move(sectionName)) {}

int TQtWindowPlacement::Top() const {
  return window_.pos().y();
}

void TQtWindowPlacement::SetTop(int value) {
  window_.move(window_.pos().x(), value);
}

int TQtWindowPlacement::Left() const {
  return window_.pos().x();
}

void TQtWindowPlacement::SetLeft(int value) {
  window_.move(value, window_.pos().y());
}

int TQtWindowPlacement::Height() const {
  return window_.height();
}

void TQtWindowPlacement::SetHeight(int value) {
  window_.resize(window_.width(), value);
}

int TQtWindowPlacement::Width() const {
  return window_.width();
}

void TQtWindowPlacement::SetWidth(int value) {
  window_.resize(value, window_.height());
}

}  // namespace ravelin
