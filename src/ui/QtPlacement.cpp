#include "ui/QtPlacement.h"

#include <QWidget>

namespace ravelin {

QtWindowPlacement::QtWindowPlacement(QWidget& window, std::string sectionName)
    : window_(window), section_(std::move(sectionName)) {}

int QtWindowPlacement::Top() const {
  return window_.pos().y();
}

void QtWindowPlacement::SetTop(int value) {
  window_.move(window_.pos().x(), value);
}

int QtWindowPlacement::Left() const {
  return window_.pos().x();
}

void QtWindowPlacement::SetLeft(int value) {
  window_.move(value, window_.pos().y());
}

int QtWindowPlacement::Height() const {
  return window_.height();
}

void QtWindowPlacement::SetHeight(int value) {
  window_.resize(window_.width(), value);
}

int QtWindowPlacement::Width() const {
  return window_.width();
}

void QtWindowPlacement::SetWidth(int value) {
  window_.resize(value, window_.height());
}

}  // namespace ravelin
