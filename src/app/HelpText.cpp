// The user guide shown in the help window.

#include "app/HelpUnit.h"

#include <QKeySequence>
#include <QStringList>

#include "drawing/ToolRegistry.h"

namespace {

// "V, L, R, E, A, T": the tool keys in the order of the buttons.
QString ToolKeyList() {
  QStringList keys;
  for (const drawing::ToolEntry& entry : drawing::kTools) keys << QKeySequence(entry.key).toString();
  return keys.join(QStringLiteral(", "));
}

}  // namespace

QString THelpWindow::UserGuide() {
  return QStringLiteral(R"(Sketchpost
Version )" SKETCHPOST_VERSION R"( for Linux (Debian 12 and other systems with Qt 6)
This is a preliminary version.

APPLICATION
Sketchpost puts small sketches into newsgroup postings as plain text. Its drawing tools append that text to the text window, one short line for each element, ready to be copied into a posting. It also displays a sketch found in a posting: copy the posting into the text window and press F7. Text moves between your newsreader and Sketchpost through the clipboard (or through text files).

WHAT
A drawing consists of lines, rectangles, ellipses (circles), arcs and descriptive legend texts. The picture is 320 by 200 pixels.

LINES
Lines are solid, dashed, dotted or dash-dotted. Only solid lines can be thick (1 to 10 pixels); the same holds for the borders of rectangles and ellipses. A line is finished when the mouse button is released. Hold Ctrl while you release the button to continue the line as a polyline: every further release with Ctrl adds a point, and a release without Ctrl ends it. A polyline may have any number of points.

RECTANGLES
Rectangles are drawn with the line style, empty or filled.

ELLIPSES
Ellipses are drawn like rectangles and stored as the surrounding rectangle. Hold Ctrl from press to release to draw from the centre outwards: the mouse then follows the corner of the surrounding rectangle, not the curve.

ARCS
Arcs are quarters of a circle (with ortho snap) or of an ellipse, in the four quadrants only. Click the centre and drag into a quadrant. Arcs are never filled. The first field of an arc line after the style is a reserved "0", followed by the centre and the corner of the surrounding rectangle.
Please avoid arcs in postings until your readers have a version of Sketchpost that draws them.

LEGEND TEXT
A legend is a descriptive text string, entered as a single line in the legend dialog, in one of three sizes, horizontal or reading upwards. Click where the text shall start.

WINDOWS
Sketchpost has two connected windows: a text editor window and a drawing window. Open the text window first (File New or File Open), then the drawing window with F7. Whatever you draw appends the matching text to the text window. Maximize the frame window and choose Window, Tile to see both windows at once.

TEXT window      [F6]
An ordinary editor for the posting text, opened by New or by reading a text file. Copy and paste work through the clipboard.
F7 shows or refreshes the drawing.
Putting the cursor on a sketch line colours that element in the drawing window.
Remove quotes (Edit menu) strips the quote marks of your newsreader, such as ">>>" or ":::", from the cursor line to the end of the text, since sketch lines must start in the leftmost column. It only touches lines with an element marker such as L( or R( within the first 8 columns. A blank in the first column comments a line out: it is neither drawn nor changed.
The right mouse button opens a local menu.
Before you copy a sketch to the clipboard for a posting, add the notice lines with the download address and the request not to quote the sketch: Copy in the menus offers to do that when you copy nearly the whole text; Ctrl+Ins copies without asking.

DRAWING window    [F7]
The tool buttons: select, lines, rectangles, ellipses and circles, arcs, legend text (keys %1 while the drawing window has the focus).
Select (the arrow): click a shape to pick it (the text's caret goes to its line); drag it to move it, drag a handle to move that point (a rectangle or ellipse has a handle at each corner), Escape cancels; the arrow keys move it by a pixel (10 with the grid snap), Delete removes its line. Only the numbers of its line change, as one undo step.
Several shapes: drag a band from empty picture to pick every shape wholly inside it, Shift+click to add or take out one (Shift+drag draws a band from anywhere and adds), Ctrl+A to pick all, Escape to let go; moving, the arrow keys and Delete then act on all of them as one undo step.
With shapes picked, the line style buttons, the thickness and the fill box change them too (fill only rectangles and ellipses; legends keep their style).
Edit menu: Duplicate (Ctrl+D) appends copies 10 pixels right and down; Copy (Ctrl+C) and Cut (Ctrl+X) put the picked sketch lines on the clipboard (Copy with nothing picked copies the picture); Paste (Ctrl+V) appends the clipboard's sketch lines and picks them.
Save (File menu, F2 or Ctrl+S) saves the text from the drawing window.
The line style buttons: solid, dashed, dotted, dash-dot.
The thickness selector, 1 to 10, for solid lines only.
The drawing aids: snap to a 10-pixel grid (:::::), and ortho snap (/-|\): lines in 45 degree steps; rectangles, ellipses and arcs forced to squares and circles.
The fill check box for rectangles and ellipses.
The grid button (...) shows or hides a dotted grid; F7 erases it.
F6 (or the F6 button) brings the text window to the front.
Export picture (File menu) writes the picture as F7 paints it to a file: PNG at 1 to 8 times its size, or SVG (choose the kind in the file dialog).
Zoom (View menu): the picture 1 to 8 times its size, or Fit (the largest size the window shows whole). Ctrl+plus and Ctrl+minus step, Ctrl+0 goes back to 1x, Ctrl+wheel zooms about the pointer. Zooming in grows the window to show the whole picture as far as the frame has room; zooming out keeps its size. Drawing works the same at every zoom.
Redraw while typing (View menu): every change of the text repaints the picture at once, without questions; an incomplete line or the size warning shows in the status bar instead. F7 still asks.
Undo and Redo (Edit menu, Ctrl+Z and Ctrl+Y) take back or redo the text's last change, shape by shape, and repaint the picture.

------------------------------------------------
Further information and newer versions of Sketchpost: see the README of the program's source, and the download address in the notice lines that Add URL appends.
)")
      .arg(ToolKeyList());
}
