// The frame and the drawing window: F7, F6, the caret line's highlight, the
// drawing window's menus and keys, closing it, drawing into the editor.

#include <QAbstractButton>
#include <QApplication>
#include <QMdiArea>
#include <QMouseEvent>
#include <QSpinBox>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>

#include "FrameKit.h"
#include "drawing/GraphWin.h"
#include "editor/MDIEdit.h"
#include "test_classes.h"

using frametest::ButtonOf;
using frametest::PictureOf;
using frametest::Session;

namespace {

// A key as a hand presses it: the release goes where the focus is by then.
void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QTest::keyPress(QApplication::focusWidget(), key, modifiers);
  QTest::keyRelease(QApplication::focusWidget(), key, modifiers);
}

// The editor with `text`, then F7 from it.
TGrafForm* DrawFromEditor(Session& session, const QString& text) {
  TEditForm* editor = session.NewEditor(text);
  session.Activate(editor->Editor);
  Press(Qt::Key_F7);
  return session.frame.GrafForm;
}

void CaretTo(TEditForm* editor, int line) {
  QTextCursor cursor(editor->Editor->document()->findBlockByNumber(line));
  editor->Editor->setTextCursor(cursor);
}

bool Black(const TGrafForm* graf, int x, int y) { return graf->Picture.Picture().At(x, y) == 0xFF000000u; }

}  // namespace

void TestFrameDrawing::f7MakesTheDrawingWindowOnce() {
  Session session;
  QVERIFY(session.Shown());
  TGrafForm* graf = DrawFromEditor(session, "L(1;10;20;110;20)\n");
  QVERIFY(graf != nullptr);
  QCOMPARE(graf->BoundEditor(), session.frame.EditForm);
  QCOMPARE(session.frame.MdiArea->activeSubWindow()->widget(), graf);
  QCOMPARE(graf->windowTitle(), QString("Draw window"));
  QVERIFY(Black(graf, 50, 20));
  QCOMPARE(
      session.MenuBar().mid(0, 3),
      QStringList(
          {"File: Textwindow F6, -, Save F2, Export picture..., -, exit",
           "Edit: Undo Ctrl+Z, Redo Ctrl+Y, -, Cut Ctrl+X, copy Ctrl+C, Paste Ctrl+V, Duplicate Ctrl+D, Delete Del, "
           "Select all Ctrl+A, -, grid Ctrl+G",
           "View: Zoom in Ctrl++, Zoom out Ctrl+-, Actual size Ctrl+0, -, 1x, 2x, 3x, 4x, 5x, 6x, 7x, 8x, "
           "Fit, -, Redraw while typing"}));
  // F7 again from the editor: the same window, repainted from the new text.
  session.Activate(session.frame.EditForm->Editor);
  session.frame.EditForm->AppendLine("R(1;F;200;100;300;150)");
  Press(Qt::Key_F7);
  QCOMPARE(session.frame.GrafForm, graf);
  QCOMPARE(session.frame.MdiArea->subWindowList().size(), 2);
  QCOMPARE(session.frame.MdiArea->activeSubWindow()->widget(), graf);
  QVERIFY(Black(graf, 250, 120));
}

void TestFrameDrawing::drawingWindowOpensWithItsLeftEdgeInTheFrame() {
  // A frame narrower than the drawing window beside the editor: the window
  // goes to the left edge, its title bar and first tools in sight.
  Session session;
  session.frame.resize(480, 420);
  QVERIFY(session.Shown());
  TGrafForm* graf = DrawFromEditor(session, "L(1;10;20;110;20)\n");
  QVERIFY(graf != nullptr);
  const QRect placed = session.SubWindowOf(graf)->geometry();
  QVERIFY2(placed.left() >= 0 && placed.top() >= 0,
           qPrintable(QStringLiteral("the drawing window opens at %1,%2").arg(placed.left()).arg(placed.top())));
}

void TestFrameDrawing::keysFollowTheActiveWindow() {
  Session session;
  QVERIFY(session.Shown());
  TGrafForm* graf = DrawFromEditor(session, "R(1;F;10;10;100;100)\n");
  const sketch::Picture plain = graf->Picture.Picture();
  session.Activate(graf);
  Press(Qt::Key_F7);  // not on the drawing window's bar
  QVERIFY(graf->Picture.Picture() == plain);
  Press(Qt::Key_G, Qt::ControlModifier);  // the grid
  QVERIFY(graf->Picture.Picture() != plain);
  Press(Qt::Key_G, Qt::ControlModifier);
  QVERIFY(graf->Picture.Picture() == plain);
  Press(Qt::Key_F6);  // to the editor
  QCOMPARE(session.frame.MdiArea->activeSubWindow()->widget(), session.frame.EditForm);
  session.frame.EditForm->Editor->moveCursor(QTextCursor::End);  // an empty line: nothing to mark
  Press(Qt::Key_G, Qt::ControlModifier);                         // the editor has no grid
  QVERIFY(graf->Picture.Picture() == plain);
  ButtonOf(graf, "BtnSwitchToEdit")->click();
  QCOMPARE(session.frame.MdiArea->activeSubWindow()->widget(), session.frame.EditForm);
}

void TestFrameDrawing::f7OnlyFromTheEditor() {
  Session session;
  QVERIFY(session.Shown());
  session.NewEditor("L(1;10;20;110;20)\n");
  frametest::StandInChild* other = session.AddStandIn("Other", false);
  session.Activate(other);
  editortest::Choose(*session.frame.EditForm, "draw1");  // the active child is not an editor window
  QVERIFY(session.frame.GrafForm == nullptr);
  QCOMPARE(session.frame.MdiArea->subWindowList().size(), 2);
}

void TestFrameDrawing::caretLineIsHighlighted() {
  Session session;
  QVERIFY(session.Shown());
  TGrafForm* graf = DrawFromEditor(session, "L(1;10;20;110;20)\nprose\nR(1;F;200;100;300;150)\n");
  const sketch::Picture plain = graf->Picture.Picture();
  TEditForm* editor = session.frame.EditForm;
  session.Activate(editor->Editor);
  QVERIFY(graf->LastHighlight().empty());  // activating the editor marks nothing by itself
  CaretTo(editor, 2);
  Press(Qt::Key_Shift);  // every key release forwards the caret's line
  QCOMPARE(graf->LastHighlight(), std::string("R(1;F;200;100;300;150)"));
  QCOMPARE(graf->Picture.Picture().At(250, 120), 0xFFFFFFFFu);  // the fill inverted
  CaretTo(editor, 1);
  Press(Qt::Key_Shift);
  QVERIFY(graf->LastHighlight().empty());
  QVERIFY(graf->Picture.Picture() == plain);
  // Activating the drawing window takes the mark off, so does F7.
  CaretTo(editor, 0);
  Press(Qt::Key_Shift);
  QVERIFY(!graf->LastHighlight().empty());
  session.Activate(graf);
  QVERIFY(graf->LastHighlight().empty());
  QVERIFY(graf->Picture.Picture() == plain);
  session.Activate(editor->Editor);
  Press(Qt::Key_Shift);
  Press(Qt::Key_F7);
  QVERIFY(graf->LastHighlight().empty());
  QVERIFY(graf->Picture.Picture() == plain);
}

void TestFrameDrawing::promptPutsTheEditorCaret() {
  Session session;
  QVERIFY(session.Shown());
  session.dialogs.answers = {ui::Answer::Cancel};
  TGrafForm* graf = DrawFromEditor(session, "prose\nL(1;10;20;30;40\nR(1;F;100;100;200;150)\n");
  QCOMPARE(session.dialogs.Texts("WarningOkCancel"), QStringList{"Polyline is probably incomplete\nL(1;10;20;30;40"});
  QCOMPARE(session.frame.EditForm->GetColLine().line, 1);
  QCOMPARE(session.frame.EditForm->GetColLine().column, 15);
  QVERIFY(!Black(graf, 150, 120));  // the pass stopped
  QCOMPARE(graf->windowTitle(), QString("Draw window"));
}

void TestFrameDrawing::closingMinimisesAndKeepsSettings() {
  Session session;
  QVERIFY(session.Shown());
  TGrafForm* graf = DrawFromEditor(session, "L(1;10;20;110;20)\n");
  ButtonOf(graf, "RectangleButton")->click();
  frametest::PartOf<QSpinBox>(*graf, "PenWidth")->setValue(4);
  ButtonOf(graf, "CbBrushStyle")->click();
  ButtonOf(graf, "CbGridSnap")->setChecked(true);
  session.SubWindowOf(graf)->close();
  QVERIFY(session.SubWindowOf(graf)->isMinimized());
  QCOMPARE(session.frame.GrafForm, graf);
  session.Activate(session.frame.EditForm->Editor);
  Press(Qt::Key_F7);  // brings it back
  QVERIFY(!session.SubWindowOf(graf)->isMinimized());
  QCOMPARE(graf->CurrentToolSettings().tool, drawing::kRectangleTool);
  QCOMPARE(frametest::PartOf<QSpinBox>(*graf, "PenWidth")->value(), 4);  // the next move gives it to the pen
  QVERIFY(graf->CurrentToolSettings().fill);
  QVERIFY(ButtonOf(graf, "CbGridSnap")->isChecked());
  QCOMPARE(graf->BoundEditor(), session.frame.EditForm);
}

void TestFrameDrawing::drawingWritesIntoTheEditor() {
  Session session;
  QVERIFY(session.Shown());
  TGrafForm* graf = DrawFromEditor(session, "Look:\n");
  session.Activate(graf);
  const auto mouse = [&](QEvent::Type type, QPoint at, Qt::MouseButtons held) {
    QMouseEvent event(type, QPointF(at), PictureOf(graf)->mapToGlobal(QPointF(at)), Qt::LeftButton, held, {});
    QApplication::sendEvent(PictureOf(graf), &event);
  };
  mouse(QEvent::MouseButtonPress, {10, 20}, Qt::LeftButton);
  mouse(QEvent::MouseMove, {110, 20}, Qt::LeftButton);
  mouse(QEvent::MouseButtonRelease, {110, 20}, Qt::NoButton);
  QCOMPARE(session.frame.EditForm->Editor->toPlainText(), QString("Look:\nL(1;10;20;110;20)\n"));
  QVERIFY(session.frame.EditForm->IsModified());
  QCOMPARE(editortest::Panel(*session.frame.EditForm, 0), QString("26"));
}

void TestFrameDrawing::zoomAndUndoKeys() {
  Session session;
  QVERIFY(session.Shown());
  TGrafForm* graf = DrawFromEditor(session, "R(1;E;200;100;300;150)\n");
  TEditForm* editor = session.frame.EditForm;
  session.Activate(graf);
  // Zoom keys: Ctrl+plus (with or without Shift), Ctrl+equal, Ctrl+minus, Ctrl+0.
  Press(Qt::Key_Plus, Qt::ControlModifier);
  QCOMPARE(graf->Zoom(), 2);
  Press(Qt::Key_Equal, Qt::ControlModifier);
  QCOMPARE(graf->Zoom(), 3);
  QCOMPARE(frametest::PartOf<QLabel>(*graf, "ZoomPanel")->text(), QString("3x"));
  Press(Qt::Key_Minus, Qt::ControlModifier);
  QCOMPARE(graf->Zoom(), 2);
  Press(Qt::Key_0, Qt::ControlModifier);
  QCOMPARE(graf->Zoom(), 1);
  Press(Qt::Key_Minus, Qt::ControlModifier);  // 1x is the least
  QCOMPARE(graf->Zoom(), 1);
  // Ctrl+Z undoes the editor's last change from the picture, Ctrl+Y redoes it.
  editor->Editor->document()->clearUndoRedoStacks();
  Press(Qt::Key_Z, Qt::ControlModifier);  // nothing to undo: the key does nothing
  QCOMPARE(editor->Editor->toPlainText(), QString("R(1;E;200;100;300;150)\n"));
  QTest::mousePress(PictureOf(graf), Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
  QTest::mouseMove(PictureOf(graf), QPoint(60, 60));
  QTest::mouseRelease(PictureOf(graf), Qt::LeftButton, Qt::NoModifier, QPoint(60, 60));
  QCOMPARE(editor->Editor->toPlainText(), QString("R(1;E;200;100;300;150)\nL(1;20;20;60;60)\n"));
  const sketch::Picture drawn = graf->Picture.Picture();
  Press(Qt::Key_Z, Qt::ControlModifier);
  QCOMPARE(editor->Editor->toPlainText(), QString("R(1;E;200;100;300;150)\n"));
  QVERIFY(graf->Picture.Picture() != drawn);
  QVERIFY(!Black(graf, 40, 40));
  Press(Qt::Key_Y, Qt::ControlModifier);
  QCOMPARE(editor->Editor->toPlainText(), QString("R(1;E;200;100;300;150)\nL(1;20;20;60;60)\n"));
  QVERIFY(Black(graf, 40, 40));
  // In the editor the zoom keys are not the drawing window's.
  session.Activate(editor->Editor);
  Press(Qt::Key_Equal, Qt::ControlModifier);
  QCOMPARE(graf->Zoom(), 1);
}

void TestFrameDrawing::leavingTheWindowEndsAnOpenPolyline() {
  // A segment released with Ctrl held leaves the polyline open; F6 ends it
  // where it stands, so a line typed next in the editor gets nothing when
  // the picture is clicked again.
  Session session;
  QVERIFY(session.Shown());
  TGrafForm* graf = DrawFromEditor(session, "Look:\n");
  TEditForm* editor = session.frame.EditForm;
  session.Activate(graf);
  QTest::mousePress(PictureOf(graf), Qt::LeftButton, Qt::NoModifier, QPoint(200, 133));
  QTest::mouseMove(PictureOf(graf), QPoint(246, 163));
  QTest::mouseRelease(PictureOf(graf), Qt::LeftButton, Qt::ControlModifier, QPoint(246, 163));
  QCOMPARE(editor->Editor->toPlainText(), QString("Look:\nL(1;200;133;246;163\n"));
  Press(Qt::Key_F6);
  QCOMPARE(session.frame.MdiArea->activeSubWindow()->widget(), editor);
  QCOMPARE(editor->Editor->toPlainText(), QString("Look:\nL(1;200;133;246;163)\n"));
  for (const Qt::Key key : {Qt::Key_X, Qt::Key_Y, Qt::Key_Z}) Press(key);
  session.Activate(graf);
  QTest::mouseMove(PictureOf(graf), QPoint(306, 73));
  QTest::mouseClick(PictureOf(graf), Qt::LeftButton, Qt::NoModifier, QPoint(306, 73));
  QCOMPARE(editor->Editor->toPlainText(), QString("Look:\nL(1;200;133;246;163)\nxyz"));
  Press(Qt::Key_Z, Qt::ControlModifier);  // the typing, then the polyline with its ")" in one step
  Press(Qt::Key_Z, Qt::ControlModifier);
  QCOMPARE(editor->Editor->toPlainText(), QString("Look:\n"));
}

void TestFrameDrawing::toolKeysWhereverTheFocusIs() {
  Session session;
  QVERIFY(session.Shown());
  TGrafForm* graf = DrawFromEditor(session, "Look:\n");
  // Activated by a click on its title bar, from the editor.
  Press(Qt::Key_F6);
  QMdiSubWindow* window = session.SubWindowOf(graf);
  const int titleBar = window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window);
  QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, QPoint(window->width() / 2, titleBar / 2));
  QCOMPARE(session.frame.MdiArea->activeSubWindow(), window);
  Press(Qt::Key_E);
  QCOMPARE(graf->CurrentToolSettings().tool, drawing::kEllipseTool);
  // A click on the thickness box's up arrow gives it the focus: letters
  // still choose tools, digits still go to the box.
  QSpinBox* thickness = frametest::PartOf<QSpinBox>(*graf, "PenWidth");
  QTest::mouseClick(thickness, Qt::LeftButton, Qt::NoModifier, QPoint(thickness->width() - 6, thickness->height() / 4));
  QCOMPARE(thickness->value(), 2);
  QVERIFY(thickness->hasFocus());
  Press(Qt::Key_R);
  QCOMPARE(graf->CurrentToolSettings().tool, drawing::kRectangleTool);
  QVERIFY(ButtonOf(graf, "RectangleButton")->isChecked());
  Press(Qt::Key_Backspace);
  Press(Qt::Key_4);
  QCOMPARE(thickness->value(), 4);
  QCOMPARE(graf->CurrentToolSettings().tool, drawing::kRectangleTool);
}

void TestFrameDrawing::saveFromThePicture_data() {
  QTest::addColumn<QKeySequence>("key");
  QTest::newRow("F2") << QKeySequence(Qt::Key_F2);
  QTest::newRow("Ctrl+S") << QKeySequence(QKeySequence::Save);
}

// The bound text is saved from the drawing window as from the text window:
// an untitled text asks for its name first.
void TestFrameDrawing::saveFromThePicture() {
  QFETCH(QKeySequence, key);
  Session session;
  QVERIFY(session.Shown());
  TGrafForm* graf = DrawFromEditor(session, "L(1;10;20;110;20)\n");
  session.Activate(graf);
  QTemporaryDir folder;
  const QString posting = folder.filePath("sketch.skp");
  session.dialogs.fileNames = {posting};
  QTest::keySequence(QApplication::focusWidget(), key);
  QCOMPARE(session.dialogs.Kinds(), QStringList{"Save"});
  QFile saved(posting);
  QVERIFY(saved.open(QIODevice::ReadOnly));
  QCOMPARE(saved.readAll(), QByteArray("L(1;10;20;110;20)\r\n"));
  QVERIFY(!session.frame.EditForm->IsModified());
  QCOMPARE(session.frame.MdiArea->activeSubWindow()->widget(), graf);  // the picture stays in front
}
