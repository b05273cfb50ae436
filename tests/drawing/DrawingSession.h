#pragma once
// What the drawing window tests share: a text window and the drawing window
// bound to it, driven as a user drives them (mouse and keys on the picture,
// keys in the text, clicks on the tool bar) and read through their faces.
// The window's parts are found by the names it gives them; what it holds
// between events is read here, one place each.

#include <QAbstractButton>
#include <QLabel>
#include <QObject>
#include <QPoint>
#include <QSpinBox>
#include <QString>
#include <QTest>
#include <QTextBlock>
#include <cstdint>
#include <memory>
#include <string>

#include "ScriptedDialogs.h"
#include "drawing/GraphWin.h"
#include "editor/MDIEdit.h"
#include "editor/PostingText.h"
#include "editor/SketchTextEdit.h"

namespace drawingtest {

// The picture the draw pass alone paints from the editor's text, as F7
// would on a fresh picture (every prompt answered OK).
sketch::Picture Rendered(const TEditForm& editor);
// That picture with the window's caret mark on it, as the window should
// show it while no gesture is under way.
sketch::Picture RenderedWithMark(const TEditForm& editor, const TGrafForm& graf);

// A part of a drawing window by its name: "LineButton", "PenWidth",
// "StatusPanel0", "ZoomStep3", "Undo1" ... None of that name and type ends
// the run: the test is wrong, not the window.
template <class Part = QWidget>
Part* Find(const TGrafForm& graf, const char* name) {
  Part* part = graf.findChild<Part*>(QLatin1String(name));
  if (part == nullptr) qFatal("the drawing window has no %s %s", Part::staticMetaObject.className(), name);
  return part;
}

// What the window holds between events.
bool GestureUnderWay(const TGrafForm& graf);  // a shape is being drawn, or a polyline is open
bool PolylineOpen(const TGrafForm& graf);
QPoint StartPoint(const TGrafForm& graf);  // where the shape under way begins
std::string LegendFontName(const TGrafForm& graf);
int DrawnChars(const TGrafForm& graf);  // the sketch characters the last pass drew

// Types `text` key by key: "\n" is Return, "\b" Backspace, characters
// beyond ASCII come as keys of a keyboard layout that has them.
void TypeKeys(QWidget* widget, const QString& text);

// A picture point, at the first screen pixel of its square on the enlarged
// picture, or at the last: every screen pixel of the square is that point.
struct Spot {
  Spot(int x, int y) : point(x, y) {}
  Spot(QPoint p, bool last = false) : point(p), farCorner(last) {}  // NOLINT: a picture point is a spot
  static Spot FarCorner(QPoint p) { return {p, true}; }
  QPoint point;
  bool farCorner = false;
};

class DrawingSession {
 public:
  // The drawing window shown at 400 x 320; the text window stays hidden.
  DrawingSession();

  testsupport::ScriptedDialogs dialogs;  // made first: every question of the windows goes to it
  TEditForm editor;
  TGrafForm graf;

  // The text as a file brings it (CR LF or LF between lines), not modified;
  // Load also paints it, as F7 does.
  void SetText(const QString& text);
  void Load(const QString& text);
  QByteArray Text() const { return editor::EncodePosting(*editor.Editor->document()); }  // CR LF between lines
  QString Line(int index) const { return editor.Editor->document()->findBlockByNumber(index).text(); }
  int CaretLine() const { return editor.Editor->textCursor().blockNumber(); }
  // The caret put on a line, and its line forwarded to the picture as the
  // frame forwards it.
  void PutCaretOn(int line);
  void Type(const QString& text) { TypeKeys(editor.Editor, text); }

  // The mouse on the picture at any zoom. Buttons pressed and not yet
  // released are held in the events after.
  void Press(Spot at, Qt::KeyboardModifiers keys = {}, Qt::MouseButton button = Qt::LeftButton) {
    Send(QEvent::MouseButtonPress, button, keys, ScreenPoint(at));
  }
  void Move(Spot at, Qt::KeyboardModifiers keys = {}) { Send(QEvent::MouseMove, Qt::NoButton, keys, ScreenPoint(at)); }
  void Release(Spot at, Qt::KeyboardModifiers keys = {}, Qt::MouseButton button = Qt::LeftButton) {
    Send(QEvent::MouseButtonRelease, button, keys, ScreenPoint(at));
  }
  void Click(Spot at, Qt::KeyboardModifiers keys = {}, Qt::MouseButton button = Qt::LeftButton);
  // Press, four moves on the way, release: as a hand would draw.
  void Drag(Spot from, Spot to, Qt::KeyboardModifiers keys = {}, Qt::MouseButton button = Qt::LeftButton);
  // A first segment released with Ctrl: written, and the polyline stays open.
  void OpenPolyline(QPoint from, QPoint to);
  Qt::MouseButtons Held() const { return held_; }
  void Key(Qt::Key key, Qt::KeyboardModifiers keys = {}) { QTest::keyClick(graf.Image, key, keys); }  // on the picture
  // The Edit menu's keys (Ctrl+Z, Ctrl+Y, Ctrl+C ...) reach the window as
  // from the frame's menu bar, once the window is active; false when it did
  // not become active.
  bool GiveEditKeys();

  // The tool bar and the menus, by name.
  template <class Part = QWidget>
  Part* Find(const char* name) const {
    return drawingtest::Find<Part>(graf, name);
  }
  void Click(const char* part);  // a button or box clicked, a menu item chosen
  bool Checked(const char* part) const;
  void SetChecked(const char* box, bool on) { Find<QAbstractButton>(box)->setChecked(on); }  // no click
  void SetPenWidth(int width) { Find<QSpinBox>("PenWidth")->setValue(width); }
  // "StatusPanel0", "StatusPanel1", "ZoomPanel", "NotePanel"
  QString Status(const char* panel) const { return Find<QLabel>(panel)->text(); }

  drawing::ToolSettings Settings() const { return graf.CurrentToolSettings(); }
  // The tool in hand, as the last run's settings bring it: no click, no caution.
  void UseTool(std::uint8_t tool);

  const sketch::Picture& Picture() const { return graf.Picture.Picture(); }
  sketch::Picture Rendered() const { return drawingtest::Rendered(editor); }
  // Takes the caret line's mark off: then the picture must be the pass's.
  bool PictureIsThePass();

 private:
  void Send(QEvent::Type type, Qt::MouseButton button, Qt::KeyboardModifiers keys, QPoint screen);
  QPoint ScreenPoint(Spot at) const;
  Qt::MouseButtons held_;
};

// A test object of the drawing window: each test function has a session
// of its own, made before it and ended after it.
class SessionTest : public QObject {
  Q_OBJECT

 protected:
  std::unique_ptr<DrawingSession> fx;

 protected slots:
  void init() { fx = std::make_unique<DrawingSession>(); }
  void cleanup() { fx.reset(); }
};

}  // namespace drawingtest
