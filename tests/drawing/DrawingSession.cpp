#include "DrawingSession.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMouseEvent>

#include "editor/DocumentLines.h"
#include "qttext/PictureFiles.h"

namespace drawingtest {

sketch::Picture Rendered(const TEditForm& editor) {
  sketch::GoOnHost host;
  return qttext::DrawPosting(editor::DocumentLines(*editor.Editor->document()), host);
}

sketch::Picture RenderedWithMark(const TEditForm& editor, const TGrafForm& graf) {
  sketch::Canvas marked;
  marked.Picture() = Rendered(editor);
  marked.font = graf.Picture.font;
  marked.SetTextPainter(graf.Picture.GetTextPainter());
  sketch::Highlight mark;
  mark.HighlightLine(marked, graf.LastHighlight());
  return marked.Picture();
}

bool GestureUnderWay(const TGrafForm& graf) { return graf.GestureUnderWay(); }

// An open polyline shows in the text: its line has no ")" yet.
bool PolylineOpen(const TGrafForm& graf) {
  if (!graf.GestureUnderWay() || graf.BoundEditor() == nullptr) return false;
  const QTextDocument& text = *graf.BoundEditor()->Editor->document();
  const QString last = text.findBlockByNumber(editor::LineCount(text) - 1).text();
  return last.startsWith(QLatin1String("L(")) && !last.endsWith(QLatin1Char(')'));
}

// The fixed point of the gesture, as the status bar shows it.
QPoint StartPoint(const TGrafForm& graf) {
  const QString origin = Find<QLabel>(graf, "StatusPanel0")->text();
  const QStringList xy = origin.section(QLatin1Char('('), 1).chopped(1).split(QStringLiteral(", "));
  return xy.size() == 2 && origin.startsWith(QLatin1String("Origin: ")) ? QPoint(xy[0].toInt(), xy[1].toInt())
                                                                        : QPoint(-1, -1);
}

std::string LegendFontName(const TGrafForm& graf) { return graf.Picture.font.name; }
int DrawnChars(const TGrafForm& graf) { return graf.LastPass().DrawnChars; }

void TypeKeys(QWidget* widget, const QString& text) {
  for (const QChar c : text) {
    if (c == '\n') {
      QTest::keyClick(widget, Qt::Key_Return);
    } else if (c == '\b') {
      QTest::keyClick(widget, Qt::Key_Backspace);
    } else if (c.unicode() < 128) {
      QTest::keyClick(widget, c.toLatin1());
    } else {
      QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
  }
}

DrawingSession::DrawingSession() {
  graf.BindEditor(&editor);
  graf.resize(400, 320);
  graf.show();
  QVERIFY(QTest::qWaitForWindowExposed(&graf));
}

void DrawingSession::SetText(const QString& text) {
  editor.Editor->setPlainText(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
  editor.Editor->document()->setModified(false);
}

void DrawingSession::Load(const QString& text) {
  SetText(text);
  graf.DrawSketch();
}

void DrawingSession::PutCaretOn(int line) {
  editor.PutCaretOnLine(line);
  graf.HighlightLine(Line(line).toStdString());
}

QPoint DrawingSession::ScreenPoint(Spot at) const {
  const int zoom = graf.Zoom();
  return at.point * zoom + (at.farCorner ? QPoint(zoom - 1, zoom - 1) : QPoint());
}

void DrawingSession::Send(QEvent::Type type, Qt::MouseButton button, Qt::KeyboardModifiers keys, QPoint screen) {
  if (type == QEvent::MouseButtonPress) held_ |= button;
  if (type == QEvent::MouseButtonRelease) held_ &= ~Qt::MouseButtons(button);
  const QPointF at(screen);
  QMouseEvent event(type, at, graf.Image->mapToGlobal(at), button, held_, keys);
  QApplication::sendEvent(graf.Image, &event);
}

void DrawingSession::Click(Spot at, Qt::KeyboardModifiers keys, Qt::MouseButton button) {
  Press(at, keys, button);
  Release(at, keys, button);
}

void DrawingSession::Drag(Spot from, Spot to, Qt::KeyboardModifiers keys, Qt::MouseButton button) {
  const QPoint start = ScreenPoint(from), end = ScreenPoint(to);
  Send(QEvent::MouseButtonPress, button, keys, start);
  for (int step = 1; step <= 4; ++step) Send(QEvent::MouseMove, Qt::NoButton, keys, start + (end - start) * step / 4);
  Send(QEvent::MouseButtonRelease, button, keys, end);
}

void DrawingSession::OpenPolyline(QPoint from, QPoint to) {
  Press(from);
  Move(to);
  Release(to, Qt::ControlModifier);
}

bool DrawingSession::GiveEditKeys() {
  graf.addActions(Find<QMenu>("Edit1")->actions());
  return QTest::qWaitForWindowActive(&graf);
}

void DrawingSession::Click(const char* part) {
  if (auto* item = qobject_cast<QAction*>(Find<QObject>(part))) {
    item->trigger();
  } else {
    Find<QAbstractButton>(part)->click();
  }
}

bool DrawingSession::Checked(const char* part) const {
  if (auto* item = qobject_cast<QAction*>(Find<QObject>(part))) return item->isChecked();
  return Find<QAbstractButton>(part)->isChecked();
}

void DrawingSession::UseTool(std::uint8_t tool) {
  drawing::ToolSettings settings = graf.CurrentToolSettings();
  settings.tool = tool;
  graf.ApplyToolSettings(settings);
}

bool DrawingSession::PictureIsThePass() {
  graf.HighlightLine(std::string());
  return Picture() == Rendered();
}

}  // namespace drawingtest
