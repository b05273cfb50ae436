#include "app/Settings.h"

#include <QDataStream>
#include <QFile>
#include <QRect>
#include <QStandardPaths>
#include <cstdio>

#include <sys/stat.h>

#include "drawing/ToolRegistry.h"

namespace app {

namespace {

// The keys, one a setting.
const QString kFrameGeometry = QStringLiteral("Frame/geometry");
const QString kTool = QStringLiteral("Drawing/tool");
const QString kPenStyle = QStringLiteral("Drawing/penStyle");
const QString kPenWidth = QStringLiteral("Drawing/penWidth");
const QString kFill = QStringLiteral("Drawing/fill");
const QString kGridSnap = QStringLiteral("Drawing/gridSnap");
const QString kOrthoSnap = QStringLiteral("Drawing/orthoSnap");
const QString kLegendSize = QStringLiteral("Drawing/legendSize");
const QString kLegendUp = QStringLiteral("Drawing/legendUp");
const QString kZoom = QStringLiteral("Drawing/zoom");
const QString kZoomFit = QStringLiteral("Drawing/zoomFit");
const QString kRedrawWhileTyping = QStringLiteral("Drawing/redrawWhileTyping");
const QString kRecentFiles = QStringLiteral("Files/recent");
const QString kFolder = QStringLiteral("Files/folder");

const QStringList kPenStyleNames = {QStringLiteral("solid"), QStringLiteral("dash"), QStringLiteral("dot"),
                                    QStringLiteral("dashdot")};

// The whole number `stored` if it lies in [low, high], else `fallback`.
int Number(const QVariant& stored, int low, int high, int fallback) {
  bool ok = false;
  const int value = stored.toString().toInt(&ok);
  return ok && value >= low && value <= high ? value : fallback;
}

bool Flag(const QVariant& stored, bool fallback) {
  const QString value = stored.toString();
  if (value == QLatin1String("true")) return true;
  if (value == QLatin1String("false")) return false;
  return fallback;
}

// Whether `data` is a whole QWidget::saveGeometry record (format versions 1
// to 3) with a size. QWidget::restoreGeometry checks only its head and
// applies a cut-off record as far as it goes, zero sizes and all.
bool IsWholeGeometry(const QByteArray& data) {
  QDataStream stream(data);
  stream.setVersion(QDataStream::Qt_4_0);
  quint32 magic = 0;
  quint16 major = 0, minor = 0;
  stream >> magic >> major >> minor;
  if (magic != 0x1D9D0CB || major < 1 || major > 3) return false;
  QRect frame, normal, geometry;
  qint32 screen = 0, screenWidth = 0;
  quint8 maximized = 0, fullScreen = 0;
  stream >> frame >> normal >> screen >> maximized >> fullScreen;
  if (major > 1) stream >> screenWidth;
  if (major > 2) stream >> geometry;
  return stream.status() == QDataStream::Ok && !normal.isEmpty();
}

// Whether `fileName` may be handed to QSettings, which would wait for ever
// to read a FIFO and would put a regular file in the place of any special
// one. A name that cannot be looked at is left to QSettings: it fails at
// once on it.
bool IsRegularOrMissing(const QString& fileName) {
  struct stat info {};
  if (::stat(QFile::encodeName(fileName).constData(), &info) != 0) return true;
  return S_ISREG(info.st_mode);
}

void NoteNotRegular(const QString& fileName) {
  std::fprintf(stderr, "sketchpost: %s is not a regular file: the settings are neither read from it nor kept in it\n",
               qPrintable(fileName));
}

}  // namespace

Settings::Settings(const QString& fileName) : fileName_(fileName) {
  if (!IsRegularOrMissing(fileName_)) {
    NoteNotRegular(fileName_);
    return;
  }
  file_.emplace(fileName_, QSettings::IniFormat);
  // What could not be read is forgotten, and written anew at the next change.
  if (file_->status() != QSettings::NoError) file_->clear();
}

QVariant Settings::Value(const QString& key) const { return file_ ? file_->value(key) : QVariant(); }

bool Settings::Writable() {
  if (!file_) return false;
  if (IsRegularOrMissing(fileName_)) return true;
  NoteNotRegular(fileName_);
  file_.reset();  // nothing is pending: every change was written at once
  return false;
}

QString Settings::DefaultFileName() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/sketchpost/sketchpost.ini");
}

QByteArray Settings::FrameGeometry() const {
  const QByteArray geometry = Value(kFrameGeometry).toByteArray();
  return IsWholeGeometry(geometry) ? geometry : QByteArray();
}

// Each setter writes only what changed, and at once.

void Settings::SetFrameGeometry(const QByteArray& geometry) {
  if (Value(kFrameGeometry).toByteArray() == geometry || !Writable()) return;
  file_->setValue(kFrameGeometry, geometry);
  file_->sync();
}

drawing::ToolSettings Settings::Tools() const {
  drawing::ToolSettings tools;
  const int tool = Number(Value(kTool), 0, 255, tools.tool);
  if (drawing::FindTool(static_cast<std::uint8_t>(tool)) != nullptr) tools.tool = static_cast<std::uint8_t>(tool);
  const qsizetype style = kPenStyleNames.indexOf(Value(kPenStyle).toString());
  if (style >= 0) tools.penStyle = static_cast<sketch::PenStyle>(style);
  tools.penWidth = Number(Value(kPenWidth), 1, 10, tools.penWidth);
  if (tools.penStyle != sketch::PenStyle::Solid) tools.penWidth = 1;  // only solid pens are thick
  tools.fill = Flag(Value(kFill), tools.fill);
  tools.gridSnap = Flag(Value(kGridSnap), tools.gridSnap);
  tools.orthoSnap = Flag(Value(kOrthoSnap), tools.orthoSnap);
  tools.legendSize = static_cast<std::uint16_t>(Number(Value(kLegendSize), 0, 2, tools.legendSize));
  tools.legendUp = Flag(Value(kLegendUp), tools.legendUp);
  return tools;
}

void Settings::SetTools(const drawing::ToolSettings& tools) {
  if (Tools() == tools || !Writable()) return;
  file_->setValue(kTool, tools.tool);
  file_->setValue(kPenStyle, kPenStyleNames.value(static_cast<int>(tools.penStyle)));
  file_->setValue(kPenWidth, tools.penWidth);
  file_->setValue(kFill, tools.fill);
  file_->setValue(kGridSnap, tools.gridSnap);
  file_->setValue(kOrthoSnap, tools.orthoSnap);
  file_->setValue(kLegendSize, tools.legendSize);
  file_->setValue(kLegendUp, tools.legendUp);
  file_->sync();
}

drawing::ViewSettings Settings::View() const {
  drawing::ViewSettings view;
  view.zoom = Number(Value(kZoom), 1, 8, view.zoom);
  view.fit = Flag(Value(kZoomFit), view.fit);
  view.redrawWhileTyping = Flag(Value(kRedrawWhileTyping), view.redrawWhileTyping);
  return view;
}

void Settings::SetView(const drawing::ViewSettings& view) {
  if (View() == view || !Writable()) return;
  file_->setValue(kZoom, view.zoom);
  file_->setValue(kZoomFit, view.fit);
  file_->setValue(kRedrawWhileTyping, view.redrawWhileTyping);
  file_->sync();
}

QStringList Settings::RecentFiles() const {
  const QVariant value = Value(kRecentFiles);
  return value.canConvert<QStringList>() ? value.toStringList() : QStringList();
}

QString Settings::Folder() const { return Value(kFolder).toString(); }

void Settings::SetFiles(const QStringList& recentFiles, const QString& folder) {
  if ((RecentFiles() == recentFiles && Folder() == folder) || !Writable()) return;
  file_->setValue(kRecentFiles, recentFiles);
  file_->setValue(kFolder, folder);
  file_->sync();
}

}  // namespace app
