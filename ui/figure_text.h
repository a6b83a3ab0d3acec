// Figures are never cut: a cut amount reads as another number ("109874…" for 1098745.15). What
// does not fit its room gives up its label first, then shows a mark no one can read as a figure,
// and the caller shows the whole text as a tool tip.
#pragma once

#include <QFontMetrics>
#include <QString>

namespace quillet::ui::detail {

// The label and figure as they fit into room pixels: whole; the label shortened with an ellipsis
// and the figure whole; the figure alone; or "#" marks filling the room.
QString fitted_figure(const QFontMetrics& metrics, const QString& label, const QString& figure, int room);

// A tool tip that shows the text as it is, never as markup ("<b>" stays "<b>").
QString plain_tool_tip(const QString& text);

}  // namespace quillet::ui::detail
