// Printing the channel table: the channel grid as the user sees it (titles, row labels, cells
// with their back colours, thin rules) on A4 paper under a title line.
#pragma once

#include <QString>

class QPrinter;

namespace tq {
class ChannelGrid;
}

namespace tq::ui {

// Prints `grid` to `printer` (set to A4, portrait) with `title` above it; the table is scaled
// down to the page width when wider and continues on further pages under its titles when
// longer. Returns false when the printer cannot be opened or the job fails.
bool PrintChannelTable(QPrinter& printer, const ChannelGrid& grid, const QString& title);

}  // namespace tq::ui
