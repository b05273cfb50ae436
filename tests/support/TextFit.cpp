#include "TextFit.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QToolButton>

namespace testsupport {

namespace {

QString Caption(const QWidget* w) {
  if (const auto* label = qobject_cast<const QLabel*>(w)) return label->text();
  if (const auto* button = qobject_cast<const QAbstractButton*>(w)) return button->text();
  if (const auto* group = qobject_cast<const QGroupBox*>(w)) return group->title();
  return {};
}

// The size the caption needs; an empty size for widgets without one.
QSize Needed(const QWidget* w) {
  if (Caption(w).isEmpty()) return {};
  if (const auto* label = qobject_cast<const QLabel*>(w)) return label->wordWrap() ? QSize() : label->sizeHint();
  if (qobject_cast<const QCheckBox*>(w) || qobject_cast<const QRadioButton*>(w)) return w->sizeHint();
  if (qobject_cast<const QPushButton*>(w)) {  // its text and the margins its frame keeps free
    QString text = Caption(w);
    text.remove(QLatin1Char('&'));
    const int margin = w->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, w);
    return QSize(w->fontMetrics().horizontalAdvance(text) + margin, w->fontMetrics().height());
  }
  if (const auto* tool = qobject_cast<const QToolButton*>(w))
    return tool->toolButtonStyle() == Qt::ToolButtonIconOnly ? QSize() : tool->minimumSizeHint();
  if (const auto* group = qobject_cast<const QGroupBox*>(w)) {
    QString title = group->title();
    title.remove(QLatin1Char('&'));
    return QSize(group->fontMetrics().horizontalAdvance(title), 0);
  }
  return {};
}

}  // namespace

QStringList ClippedTexts(const QWidget* window) {
  QStringList faults;
  QList<const QWidget*> captioned;
  for (const QWidget* w : window->findChildren<QWidget*>()) {
    if (!w->isVisibleTo(window)) continue;
    const QSize needed = Needed(w);
    if (!needed.isValid()) continue;
    captioned << w;
    const QString name = QString("%1 \"%2\"").arg(w->metaObject()->className(), Caption(w));
    if (w->width() < needed.width() || w->height() < needed.height()) {
      faults << QString("%1 is %2x%3, its text needs %4x%5")
                    .arg(name)
                    .arg(w->width())
                    .arg(w->height())
                    .arg(needed.width())
                    .arg(needed.height());
    }
    if (!w->parentWidget()->rect().contains(w->geometry())) faults << name + " reaches out of its parent";
  }
  for (int i = 0; i < captioned.size(); ++i) {
    for (int j = i + 1; j < captioned.size(); ++j) {
      const QWidget *a = captioned[i], *b = captioned[j];
      if (a->parentWidget() == b->parentWidget() && a->geometry().intersects(b->geometry()))
        faults << QString("\"%1\" and \"%2\" overlap").arg(Caption(a), Caption(b));
    }
  }
  return faults;
}

}  // namespace testsupport
