// The editor's capacity: no way of putting text in makes the text longer
// than its file may be. The editor is given a capacity of a few characters
// here; the file tests check the real one.

#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QMimeData>
#include <QTest>
#include <memory>

#include "MenuBarEditor.h"
#include "test_classes.h"

namespace {

std::unique_ptr<editortest::MenuBarEditor> fx;

constexpr qint64 kCapacity = 12;

void Drop(const QString& text) {
  QMimeData data;
  data.setText(text);
  QWidget* viewport = fx->form->Editor->viewport();
  const QPoint at(2, 2);
  QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(viewport, &enter);
  QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(viewport, &move);
  QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(viewport, &drop);
}

void Compose(const QString& text) {
  QInputMethodEvent event;
  event.setCommitString(text);
  QApplication::sendEvent(fx->form->Editor, &event);
}

}  // namespace

void TestTextCapacity::init() {
  fx = std::make_unique<editortest::MenuBarEditor>();
  QVERIFY(QTest::qWaitForWindowActive(&fx->window));
  fx->form->Editor->SetCapacity(kCapacity);
  QApplication::clipboard()->setText("on the clipboard");
}

void TestTextCapacity::cleanup() { fx.reset(); }

void TestTextCapacity::everyWayIn_data() {
  QTest::addColumn<QString>("route");
  QTest::addColumn<QByteArray>("before");
  QTest::addColumn<int>("selectFrom");  // the selection, or the caret when both agree; -1 the end
  QTest::addColumn<int>("selectTo");
  QTest::addColumn<QString>("input");     // typed, pasted, dropped, composed or appended
  QTest::addColumn<QByteArray>("after");  // empty: refused, the text as before
  const auto row = [](const char* name, const char* route, const QByteArray& before, int from, int to,
                      const QString& input, const QByteArray& after) {
    QTest::newRow(name) << QString(route) << before << from << to << input << after;
  };
  row("key into a full text", "type", "123456789012", -1, -1, "x", "");
  row("key that fills it", "type", "12345678901", -1, -1, "x", "12345678901x");
  row("key over a selection of a full text", "type", "123456789012", 0, 1, "x", "x23456789012");
  row("Enter with one character left", "type", "12345678901", -1, -1, "\r", "");
  row("Enter that fills it", "type", "1234567890", -1, -1, "\r", "1234567890\r\n");
  row("paste one too many", "paste", "abc", -1, -1, "1234\n6789", "");
  row("paste that fills it", "paste", "abc", -1, -1, "1234\r\n678", "abc1234\r\n678");
  row("paste over everything", "paste", "abcdefghijkl", 0, 12, "1234\n567890", "1234\r\n567890");
  row("drop one too many", "drop", "abc", 0, 0, "1234567890", "");
  row("drop that fills it", "drop", "abc", 0, 0, "123456789", "123456789abc");
  row("composed into a full text", "compose", "123456789012", -1, -1, "x", "");
  row("drawn line that does not fit", "append", "abcdefg", -1, -1, "L(1)", "");
  row("drawn line that fills it", "append", "abcdef", -1, -1, "L(1)", "abcdef\r\nL(1)");
  row("polyline point that does not fit", "replace", "L(1;2;3", -1, -1, "L(1;2;3;4;5;6", "");
  row("polyline point that fills it", "replace", "L(1;2;3", -1, -1, "L(1;2;3;4;56", "L(1;2;3;4;56");
  row("notice block", "Add URL", "abc", -1, -1, "", "");
  row("notice block offered by Copy", "Copy Yes", "abcdefghijkl", 0, 12, "", "");
}

void TestTextCapacity::everyWayIn() {
  QFETCH(QString, route);
  QFETCH(QByteArray, before);
  QFETCH(int, selectFrom);
  QFETCH(int, selectTo);
  QFETCH(QString, input);
  QFETCH(QByteArray, after);
  TEditForm& form = *fx->form;
  fx->SetText(before);
  const int end = form.Editor->document()->characterCount() - 1;
  fx->Select(selectFrom < 0 ? end : selectFrom, selectTo < 0 ? end : selectTo);
  if (route == "type") {
    if (input == "\r") {
      QTest::keyClick(form.Editor, Qt::Key_Return);
    } else {
      QTest::keyClick(form.Editor, input[0].toLatin1());
    }
  } else if (route == "paste") {
    QApplication::clipboard()->setText(input);
    fx->Key(Qt::Key_V);
  } else if (route == "drop") {
    Drop(input);
  } else if (route == "compose") {
    Compose(input);
  } else if (route == "append") {
    QCOMPARE(form.AppendLine(input), !after.isEmpty());
  } else if (route == "replace") {
    QCOMPARE(form.ReplaceLine(0, input), !after.isEmpty());
  } else if (route == "Add URL") {
    editortest::Choose(form, "AddURL1");
  } else {
    fx->dialogs.answers = {ui::Answer::Yes};
    editortest::Choose(form, "Copy1");
  }

  if (!after.isEmpty()) {
    QCOMPARE(fx->Text(), after);
    QVERIFY(!fx->dialogs.Kinds().contains("Error"));
    return;
  }
  QCOMPARE(fx->Text(), before);
  QVERIFY(!form.IsModified());
  QVERIFY(!form.URLAdded());
  const QStringList errors = fx->dialogs.Texts("Error");
  QCOMPARE(errors.size(), 1);
  QVERIFY2(errors[0].contains("12 bytes"), qPrintable(errors[0]));
  QCOMPARE(fx->dialogs.Kinds().last(), QString("Error"));  // after Copy's question
  if (route == "Copy Yes") QCOMPARE(QApplication::clipboard()->text(), QString("on the clipboard"));  // ended there
}
