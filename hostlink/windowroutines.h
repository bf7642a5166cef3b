#pragma once

class QWidget;

namespace hostlink {

// Keeps the window above all others, without moving or resizing it.
void stayOnTop(QWidget *window);

// Lets the user move the window with the mouse; returns once the button is
// released, with the window at its new place.
void dragWindow(QWidget *window);

} // namespace hostlink
