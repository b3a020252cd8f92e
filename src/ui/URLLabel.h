// A label drawn like a web link that opens its address when clicked.
#pragma once

#include <QColor>
#include <QLabel>
#include <string>

namespace ravelin {

/// The address a new link label opens.
extern const char* const kDefaultUrl;

/// Label in link colours: ColorNormal at rest, ColorMoveOver under the pointer, ColorClick
/// while a mouse button is held on it. Releasing the button inside the label (its right and
/// bottom edges included) opens URL, or the caption when URL is empty, through Ui().OpenUrl.
class TURLLabel : public QLabel {
  Q_OBJECT

 public:
  /// Blue, underlined, caption "Click me!", URL kDefaultUrl.
  explicit TURLLabel(QWidget* parent = nullptr);

  QColor ColorClick{255, 0, 0};     ///< while a button is held down on the label
  QColor ColorNormal{0, 0, 255};    ///< at rest
  QColor ColorMoveOver{0, 0, 255};  ///< while the pointer is over the label
  std::string URL;                  ///< what is opened; empty: the caption
  bool Pressed = false;             ///< a button went down on the label and is still down

  /// The text colour now.
  QColor FontColor() const;

 protected:
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void SetFontColor(const QColor& colour);
};

}  // namespace ravelin
