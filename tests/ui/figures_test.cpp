// Figures are never cut into other numbers, and a user's texts never show as markup.
#include <QFont>
#include <QHelpEvent>
#include <QLabel>
#include <QTextDocument>
#include <QToolTip>

#include "tests/ui/toolkit_fixture.h"
#include "ui/bars.h"
#include "ui/figure_text.h"
#include "ui/gadgets.h"

namespace quillet::ui::testing {
namespace {

// What a tool tip shows the user.
std::string shown(const QString& tip) {
    if (!Qt::mightBeRichText(tip)) return tip.toStdString();
    QTextDocument document;
    document.setHtml(tip);
    return document.toPlainText().toStdString();
}

TEST_F(Toolkit, AFigureThatDoesNotFitGivesUpItsLabelThenShowsMarks) {
    QFont bold(QStringLiteral("DejaVu Sans"));
    bold.setPointSize(12);
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    const QString figure = QStringLiteral("1098745.15");
    const int width = metrics.horizontalAdvance(figure);
    EXPECT_EQ(detail::fitted_figure(metrics, "Balance: ", figure, 1000), "Balance: 1098745.15");
    const QString shortened =
        detail::fitted_figure(metrics, "Balance: ", figure, width + metrics.horizontalAdvance("Ba…"));
    EXPECT_TRUE(shortened.endsWith(QChar(0x2026) + figure)) << shortened.toStdString();
    EXPECT_EQ(detail::fitted_figure(metrics, "Balance: ", figure, width + 2), figure);
    const QString marks = detail::fitted_figure(metrics, {}, figure, width - 1);
    EXPECT_FALSE(marks.isEmpty());
    EXPECT_EQ(marks, QString(marks.size(), QLatin1Char('#'))) << "nothing that reads as a number";
}

TEST_F(Toolkit, UserTextsShowAsTheyAreNeverAsMarkup) {
    const std::string text = "Pay <b>rent</b> &amp; <i>Edited</i>";
    ASSERT_TRUE(open_window(200, 924, 536, "Main", WindowStyle::kMain));
    ASSERT_TRUE(create_text(400, 10, 10, 40, 16, "x"));
    set_tool_tip(400, ShownText().add_utf8(text));
    EXPECT_EQ(shown(widget_of(400)->toolTip()), text);

    ASSERT_TRUE(create_status_bar(323, 200));
    add_status_field(323, 60);
    set_status_field_text(323, 0, text);
    auto* field = widget_of(400)->window()->findChildren<QLabel*>().back();
    EXPECT_EQ(field->textFormat(), Qt::PlainText);
    EXPECT_EQ(shown(field->toolTip()), text) << "the whole text of a field too narrow";
    set_status_field_figure(323, 0, "Balance: ", "1098745.15");
    EXPECT_EQ(shown(field->toolTip()), "Balance: 1098745.15");
    const QString figure = field->text();
    EXPECT_TRUE(figure.endsWith(QStringLiteral("1098745.15")) || figure == QString(figure.size(), '#'))
        << "the figure whole, or marks that read as no number: " << figure.toStdString();
}

}  // namespace
}  // namespace quillet::ui::testing
