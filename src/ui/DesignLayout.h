// Placing controls where the window designs put them. The designs count pixels for an
// 8-point dialog font with 13-pixel lines; on this desktop every length is multiplied by the
// ratio of the application font's line height to that, so text keeps its room.
#pragma once

class QWidget;

namespace ravelin {

/// The factor from design pixels to screen pixels (1 or more).
double DesignScale();
/// A design length in screen pixels.
int Scaled(int designPixels);
/// Moves and sizes widget to a rectangle given in design pixels of its parent.
void Place(QWidget* widget, int left, int top, int width, int height);
/// Gives a dialog a fixed client area of width x height design pixels.
void SetFixedClientSize(QWidget* dialog, int width, int height);

}  // namespace ravelin
