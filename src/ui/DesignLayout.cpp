#include "ui/DesignLayout.h"

#include <QApplication>
#include <QFontMetrics>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace ravelin {

double DesignScale() {
  QFontMetrics metrics(QApplication::font());
  return std::max(1.0, metrics.height() / 13.0);
}

int Scaled(int designPixels) {
  return static_cast<int>(std::lround(designPixels * DesignScale()));
}

void Place(QWidget* widget, int left, int top, int width, int height) {
  widget->setGeometry(Scaled(left), Scaled(top), Scaled(width), Scaled(height));
}

void SetFixedClientSize(QWidget* dialog, int width, int height) {
  dialog->setFixedSize(Scaled(width), Scaled(height));
}

}  // namespace ravelin
