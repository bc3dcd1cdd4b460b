#pragma once

#include <QCursor>
#include <QIcon>
#include <QImage>

namespace scorvane {

// The main window's 722 x 367 background: a dark blue field with rounded panels.
QImage MainWindowBackground();

// The progress window's 473 x 252 dark blue background, lighter at the top.
QImage ProgressBackground();

// The 1 x 50 strip that, stretched, draws the progress bar.
QImage ProgressBarStrip();

// Each piece is drawn once, on first use.

// The window icon in 16, 32, 48 and 256 pixels.
QIcon WindowIcon();

// The window icon's picture at one size (below 32 pixels laid out by hand). The build renders the same
// picture into the icon theme's files, so that menus show what the window shows.
QImage IconImage(int size);

// The pointing-hand pointer, 32 x 32, hot spot at the finger tip.
QCursor HandCursor();

}  // namespace scorvane
