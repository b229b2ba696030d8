#include "ui/channel_print.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <vector>

#include "editor/channel_grid.h"
#include "ui/channel_grid_view.h"

namespace tq::ui {
namespace {

const QColor kFixedBack(247, 247, 247);
const QColor kRule(128, 128, 128);

// The application's font with fallbacks that carry Chinese glyphs, at `points`.
QFont PrintFont(double points, bool bold) {
  QFont font = QApplication::font();
  QStringList families = font.families();
  if (families.isEmpty()) families << font.family();
  families << "WenQuanYi Zen Hei"
           << "Noto Sans CJK SC"
           << "Noto Sans CJK"
           << "DejaVu Sans";
  font.setFamilies(families);
  font.setPointSizeF(points);
  font.setBold(bold);
  return font;
}

}  // namespace

bool PrintChannelTable(QPrinter& printer, const ChannelGrid& grid, const QString& title) {
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setPageOrientation(QPageLayout::Portrait);
  printer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
  QPainter painter;
  if (!painter.begin(&printer)) return false;

  // Device units: twips become device pixels at the printer's resolution (1440 twips an inch).
  const double dpi = printer.resolution();
  const QRectF page(QPointF(0, 0),
                    printer.pageLayout().paintRectPixels(printer.resolution()).size());
  const QFont titleFont = PrintFont(12, true);
  const QFont headFont = PrintFont(9, true);
  const QFont cellFont = PrintFont(9, false);
  const QFontMetricsF titleMetrics(titleFont, &printer);
  const QFontMetricsF headMetrics(headFont, &printer);
  const QFontMetricsF cellMetrics(cellFont, &printer);

  const int columns = grid.columns();
  const int rows = grid.rows();
  const double padding = 6.0 * dpi / 72.0;
  std::vector<double> widths(static_cast<std::size_t>(std::max(columns, 0)));
  double total = 0;
  for (int c = 0; c < columns; ++c) {
    const double fromTwips = grid.columnWidth(c) * dpi / 1440.0;
    const double titleWidth =
        headMetrics.horizontalAdvance(QString::fromStdString(grid.cell(0, c).text)) + padding;
    widths[static_cast<std::size_t>(c)] = std::max(fromTwips, titleWidth);
    total += widths[static_cast<std::size_t>(c)];
  }
  if (total > page.width() && total > 0) {
    for (double& w : widths) w *= page.width() / total;
  }
  const double rowHeight =
      std::max(grid.rowHeight() * dpi / 1440.0, cellMetrics.height() + padding * 0.6);

  QPen rule(kRule);
  rule.setWidthF(0.5 * dpi / 72.0);
  const auto drawRow = [&](double y, int r) {
    double x = 0;
    for (int c = 0; c < columns; ++c) {
      const QRectF cell(x, y, widths[static_cast<std::size_t>(c)], rowHeight);
      const GridCell& content = grid.cell(r, c);
      const bool fixed = r == 0 || c == 0;
      // The current row's highlight marks the selection on screen; on paper the row is plain.
      const int32_t back = content.back == kRowHighlight ? kGridBackColor : content.back;
      painter.fillRect(cell, fixed ? kFixedBack : WindowsColour(back));
      painter.setPen(rule);
      painter.drawRect(cell);
      painter.setPen(Qt::black);
      painter.setFont(r == 0 ? headFont : cellFont);
      painter.drawText(cell, Qt::AlignCenter, QString::fromStdString(content.text));
      x += cell.width();
    }
  };
  const auto drawTitle = [&] {
    painter.setFont(titleFont);
    painter.setPen(Qt::black);
    const QRectF line(0, 0, page.width(), titleMetrics.height() * 1.5);
    painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter, title);
    return line.height() + titleMetrics.height() * 0.5;
  };

  double y = drawTitle();
  if (rows > 0) drawRow(y, 0);
  y += rowHeight;
  for (int r = 1; r < rows; ++r) {
    if (y + rowHeight > page.height()) {
      if (!printer.newPage()) {
        painter.end();
        return false;
      }
      y = drawTitle();
      drawRow(y, 0);
      y += rowHeight;
    }
    drawRow(y, r);
    y += rowHeight;
  }
  return painter.end() && printer.printerState() != QPrinter::Error;
}

}  // namespace tq::ui
