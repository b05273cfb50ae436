// The text tool: a press asks for a legend, draws it and writes its T line.

#include <algorithm>

#include "drawing/GraphWin.h"
#include "drawing/LegendDlg.h"
#include "drawing/SketchText.h"
#include "format/Limits.h"
#include "format/SketchTokens.h"
#include "qttext/TextBytes.h"
#include "render/LegendText.h"

void TGrafForm::PlaceLegend() {
  QString text;
  std::uint16_t size = Settings.legendSize;
  bool up = Settings.legendUp;
  if (!ExecuteLegendDlg(text, static_cast<int>(sketch::kCountedMax), size, up, this)) return;
  Settings.legendSize = size;
  Settings.legendUp = up;
  emit settingsChanged();
  std::string legend = sketch::QStringToBytes(text).substr(0, drawing::kLegendTextMax);
  // It stands between double quotes.
  std::replace(legend.begin(), legend.end(), sketch::kLegendQuote, sketch::kLegendQuoteStandIn);

  // The text takes the line first: a legend the text refused (it is full)
  // is not drawn either.
  if (!AppendSketchLine(drawing::LegendLine(Settings.legendSize, Settings.legendUp, StartPoint, legend))) return;
  DrawForGood([this, &legend] {
    Picture.brush.color = sketch::kWhite;
    Picture.brush.style = sketch::BrushStyle::Clear;  // no box behind the text
    const int points = sketch::kLegendFontSizes[Settings.legendSize];
    Picture.font.size = points;
    Picture.font.name = LegendFontName;
    sketch::DrawLegendText(Picture, StartPoint.x(), StartPoint.y(), legend, Settings.legendUp, points);
  });
  RefreshTouched();
}
