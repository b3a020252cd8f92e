#include "ui/URLLabel.h"

#include <QMouseEvent>

#include "platform/UiServices.h"
#include "ui/logic/AboutInfo.h"

namespace ravelin {

const char* const kDefaultUrl = kProductUrl;

TURLLabel::TURLLabel(QWidget* parent) : QLabel(parent), URL(kDefaultUrl) {
  QFont underlined = font();
  underlined.setUnderline(true);
  setFont(underlined);
  setText(QStringLiteral("Click me!"));
  setCursor(Qt::PointingHandCursor);
  SetFontColor(ColorNormal);
}

QColor TURLLabel::FontColor() const {
  return palette().color(QPalette::WindowText);
}

void TURLLabel::SetFontColor(const QColor& colour) {
  QPalette colours = palette();
  colours.setColor(QPalette::WindowText, colour);
  setPalette(colours);
}

void TURLLabel::enterEvent(QEnterEvent* event) {
  QLabel::enterEvent(event);
  SetFontColor(Pressed ? ColorClick : ColorMoveOver);
}

void TURLLabel::leaveEvent(QEvent* event) {
  QLabel::leaveEvent(event);
  SetFontColor(ColorNormal);
}

void TURLLabel::mousePressEvent(QMouseEvent* event) {
  event->accept();  // keeps the mouse, so the release comes here wherever it happens
  Pressed = true;
  SetFontColor(ColorClick);
}

void TURLLabel::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
  const QPointF at = event->position();
  if (at.x() >= 0 && at.x() <= width() && at.y() >= 0 && at.y() <= height()) {
    if (Pressed) Ui().OpenUrl(URL.empty() ? text().toStdString() : URL);
    SetFontColor(ColorMoveOver);
  } else {
    SetFontColor(ColorNormal);
  }
  Pressed = false;
}

}  // namespace ravelin
