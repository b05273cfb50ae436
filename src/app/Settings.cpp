#include "app/Settings.h"

#include <QDataStream>
#include <QRect>
#include <QStandardPaths>

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

// The whole number stored under `key` if it lies in [low, high], else `fallback`.
int Number(const QSettings& file, const QString& key, int low, int high, int fallback) {
  bool ok = false;
  const int value = file.value(key).toString().toInt(&ok);
  return ok && value >= low && value <= high ? value : fallback;
}

bool Flag(const QSettings& file, const QString& key, bool fallback) {
  const QString value = file.value(key).toString();
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

}  // namespace

Settings::Settings(const QString& fileName) : file_(fileName, QSettings::IniFormat) {
  // What could not be read is forgotten, and written anew at the next change.
  if (file_.status() != QSettings::NoError) file_.clear();
}

QString Settings::DefaultFileName() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/sketchpost/sketchpost.ini");
}

QByteArray Settings::FrameGeometry() const {
  const QByteArray geometry = file_.value(kFrameGeometry).toByteArray();
  return IsWholeGeometry(geometry) ? geometry : QByteArray();
}

void Settings::SetFrameGeometry(const QByteArray& geometry) {
  file_.setValue(kFrameGeometry, geometry);
  file_.sync();
}

drawing::ToolSettings Settings::Tools() const {
  drawing::ToolSettings tools;
  tools.tool = static_cast<std::uint8_t>(Number(file_, kTool, drawing::kLineTool, drawing::kSelectTool, tools.tool));
  const qsizetype style = kPenStyleNames.indexOf(file_.value(kPenStyle).toString());
  if (style >= 0) tools.penStyle = static_cast<sketch::PenStyle>(style);
  tools.penWidth = Number(file_, kPenWidth, 1, 10, tools.penWidth);
  if (tools.penStyle != sketch::PenStyle::Solid) tools.penWidth = 1;  // only solid pens are thick
  tools.fill = Flag(file_, kFill, tools.fill);
  tools.gridSnap = Flag(file_, kGridSnap, tools.gridSnap);
  tools.orthoSnap = Flag(file_, kOrthoSnap, tools.orthoSnap);
  tools.legendSize = static_cast<std::uint16_t>(Number(file_, kLegendSize, 0, 2, tools.legendSize));
  tools.legendUp = Flag(file_, kLegendUp, tools.legendUp);
  return tools;
}

void Settings::SetTools(const drawing::ToolSettings& tools) {
  file_.setValue(kTool, tools.tool);
  file_.setValue(kPenStyle, kPenStyleNames.value(static_cast<int>(tools.penStyle)));
  file_.setValue(kPenWidth, tools.penWidth);
  file_.setValue(kFill, tools.fill);
  file_.setValue(kGridSnap, tools.gridSnap);
  file_.setValue(kOrthoSnap, tools.orthoSnap);
  file_.setValue(kLegendSize, tools.legendSize);
  file_.setValue(kLegendUp, tools.legendUp);
  file_.sync();
}

drawing::ViewSettings Settings::View() const {
  drawing::ViewSettings view;
  view.zoom = Number(file_, kZoom, 1, 8, view.zoom);
  view.fit = Flag(file_, kZoomFit, view.fit);
  view.redrawWhileTyping = Flag(file_, kRedrawWhileTyping, view.redrawWhileTyping);
  return view;
}

void Settings::SetView(const drawing::ViewSettings& view) {
  file_.setValue(kZoom, view.zoom);
  file_.setValue(kZoomFit, view.fit);
  file_.setValue(kRedrawWhileTyping, view.redrawWhileTyping);
  file_.sync();
}

QStringList Settings::RecentFiles() const {
  const QVariant value = file_.value(kRecentFiles);
  return value.canConvert<QStringList>() ? value.toStringList() : QStringList();
}

QString Settings::Folder() const { return file_.value(kFolder).toString(); }

void Settings::SetFiles(const QStringList& recentFiles, const QString& folder) {
  file_.setValue(kRecentFiles, recentFiles);
  file_.setValue(kFolder, folder);
  file_.sync();
}

}  // namespace app
