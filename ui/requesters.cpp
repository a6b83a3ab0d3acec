// The real requesters: Qt's file and colour dialogs, a small font dialog of our own (Qt's has no
// colour), and the message box.
#include "ui/requesters.h"

#include <algorithm>

#include <QCheckBox>
#include <QColorDialog>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontComboBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeView>
#include <QVBoxLayout>

#include "ui/images.h"
#include "ui/toolkit_internal.h"

namespace quillet::ui {

using namespace detail;

namespace {

// "Registers|*.qlt|All files|*" becomes "Registers (*.qlt)" and "All files (*)"; a description
// that already shows its pattern keeps it once.
QStringList qt_filters(const std::string& filter) {
    const QStringList parts = to_qt(filter).split('|');
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString shown = "(" + QString(parts[i + 1]).replace(';', ' ') + ")";
        filters << (parts[i].trimmed().endsWith(shown) ? parts[i] : parts[i] + " " + shown);
    }
    return filters;
}

QWidget* foreground_window() {
    if (QWidget* active = QApplication::activeWindow()) return active;
    const auto& order = state().window_order;
    return order.empty() ? nullptr : window_widget(order.back());
}

// Qt's own size leaves the size and date columns cut ("633...tes"): the dialog opens wider, the
// name takes what the other columns leave.
constexpr int kFileDialogWidth = 760;
constexpr int kFileDialogHeight = 460;

void show_whole_file_columns(QFileDialog& dialog) {
    dialog.resize(std::max(dialog.width(), kFileDialogWidth), std::max(dialog.height(), kFileDialogHeight));
    auto* view = dialog.findChild<QTreeView*>("treeView");
    if (view == nullptr) return;
    QHeaderView* header = view->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int column = 1; column < header->count(); ++column)
        header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
}

std::string run_file_dialog(QFileDialog::AcceptMode mode, const std::string& title,
                            const std::string& proposed_path, const std::string& filter, int filter_index) {
    QWidget* owner = foreground_window();
    QFileDialog dialog(owner, to_qt(title));
    dialog.setAcceptMode(mode);
    // A typed name that does not exist comes back too: the program adds the extension and says
    // what is missing.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOptions(QFileDialog::DontConfirmOverwrite | QFileDialog::DontUseNativeDialog);
    const QString proposed = path_to_qt(proposed_path);
    const int slash = static_cast<int>(proposed.lastIndexOf('/'));
    dialog.setDirectory(slash >= 0 ? proposed.left(slash + 1) : QString());
    dialog.selectFile(slash >= 0 ? proposed.mid(slash + 1) : proposed);
    const QStringList filters = qt_filters(filter);
    dialog.setNameFilters(filters);
    if (filter_index >= 0 && filter_index < filters.size()) dialog.selectNameFilter(filters[filter_index]);
    show_whole_file_columns(dialog);
    const bool chosen = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
    // Without a window manager nobody gives the keyboard back to the window that asked.
    if (owner != nullptr) owner->activateWindow();
    return chosen ? path_from_qt(dialog.selectedFiles().front()) : std::string();
}

class FontDialog : public QDialog {
  public:
    FontDialog(const FontChoice& choice, QWidget* parent)
        : QDialog(parent), colour_(to_qt_colour(choice.colour)), other_styles_(choice.style & ~kShownStyles) {
        setWindowTitle(tr("Font"));
        family_->setCurrentFont(QFont(to_qt(choice.face)));
        size_->setRange(1, 144);
        size_->setValue(choice.points);
        bold_->setChecked((choice.style & kFontBold) != 0);
        italic_->setChecked((choice.style & kFontItalic) != 0);
        underline_->setChecked((choice.style & kFontUnderline) != 0);
        strike_->setChecked((choice.style & kFontStrikeOut) != 0);
        auto* form = new QFormLayout;
        form->addRow(tr("&Font:"), family_);
        form->addRow(tr("&Size:"), size_);
        form->addRow(bold_);
        form->addRow(italic_);
        form->addRow(underline_);
        form->addRow(strike_);
        form->addRow(tr("&Colour:"), colour_button_);
        form->addRow(sample_);
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        auto* layout = new QVBoxLayout(this);
        layout->addLayout(form);
        layout->addWidget(buttons);
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        connect(colour_button_, &QPushButton::clicked, [this] {
            const QColor chosen = QColorDialog::getColor(colour_, this);
            if (chosen.isValid()) colour_ = chosen;
            update_sample();
        });
        for (QCheckBox* box : {bold_, italic_, underline_, strike_})
            connect(box, &QCheckBox::toggled, [this] { update_sample(); });
        connect(family_, &QFontComboBox::currentFontChanged, [this] { update_sample(); });
        connect(size_, &QSpinBox::valueChanged, [this] { update_sample(); });
        update_sample();
    }

    FontChoice choice() const {
        FontChoice chosen;
        chosen.face = from_qt(family_->currentFont().family());
        chosen.points = size_->value();
        chosen.colour = from_qt_colour(colour_);
        // The style bits the dialog does not show (high-quality drawing) come back as they went in.
        chosen.style =
            other_styles_ | (bold_->isChecked() ? kFontBold : 0) | (italic_->isChecked() ? kFontItalic : 0) |
            (underline_->isChecked() ? kFontUnderline : 0) | (strike_->isChecked() ? kFontStrikeOut : 0);
        return chosen;
    }

  private:
    void update_sample() {
        QFont font = family_->currentFont();
        font.setPointSize(size_->value());
        font.setBold(bold_->isChecked());
        font.setItalic(italic_->isChecked());
        font.setUnderline(underline_->isChecked());
        font.setStrikeOut(strike_->isChecked());
        sample_->setFont(font);
        QPalette colours = sample_->palette();
        colours.setColor(QPalette::WindowText, colour_);
        sample_->setPalette(colours);
        colour_button_->setText(colour_.name());
    }

    QFontComboBox* family_ = new QFontComboBox(this);
    QSpinBox* size_ = new QSpinBox(this);
    QCheckBox* bold_ = new QCheckBox(tr("&Bold"), this);
    QCheckBox* italic_ = new QCheckBox(tr("&Italic"), this);
    QCheckBox* underline_ = new QCheckBox(tr("&Underline"), this);
    QCheckBox* strike_ = new QCheckBox(tr("S&trike-out"), this);
    QPushButton* colour_button_ = new QPushButton(this);
    QLabel* sample_ = new QLabel(QStringLiteral("AaBbYyZz 1234.56"), this);
    static constexpr int kShownStyles = kFontBold | kFontItalic | kFontUnderline | kFontStrikeOut;
    QColor colour_;
    int other_styles_;
};

class QtRequesters : public Requesters {
  public:
    std::string open_file(const std::string& title, const std::string& proposed_path,
                          const std::string& filter, int filter_index) override {
        return run_file_dialog(QFileDialog::AcceptOpen, title, proposed_path, filter, filter_index);
    }
    std::string save_file(const std::string& title, const std::string& proposed_path,
                          const std::string& filter, int filter_index) override {
        return run_file_dialog(QFileDialog::AcceptSave, title, proposed_path, filter, filter_index);
    }
    bool choose_font(FontChoice& choice) override {
        FontDialog dialog(choice, foreground_window());
        if (dialog.exec() != QDialog::Accepted) return false;
        choice = dialog.choice();
        return true;
    }
    int choose_colour(int colour) override {
        const QColor chosen = QColorDialog::getColor(colour < 0 ? QColor(Qt::black) : to_qt_colour(colour),
                                                     foreground_window());
        return chosen.isValid() ? from_qt_colour(chosen) : -1;
    }
    int message_box(int owner_window, const std::string& text, const std::string& caption, MessageStyle style,
                    int /*message_number*/) override {
        QWidget* owner = window_widget(owner_window);
        QMessageBox box(style == MessageStyle::kQuestion ? QMessageBox::Question : QMessageBox::Information,
                        utf8_to_qt(caption), utf8_to_qt(text), QMessageBox::NoButton,
                        owner != nullptr ? owner : foreground_window());
        // A path or a user's text is shown as it is, never as markup.
        box.setTextFormat(Qt::PlainText);
        if (style == MessageStyle::kQuestion) {
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            box.setDefaultButton(QMessageBox::No);
            box.setEscapeButton(QMessageBox::No);
            return box.exec() == QMessageBox::Yes ? kAnswerYes : kAnswerNo;
        }
        box.setStandardButtons(QMessageBox::Ok);
        box.exec();
        return kAnswerOk;
    }
};

std::unique_ptr<Requesters>& installed() {
    static std::unique_ptr<Requesters> requesters;
    return requesters;
}

}  // namespace

Requesters& requesters() {
    std::unique_ptr<Requesters>& current = installed();
    if (!current) current = std::make_unique<QtRequesters>();
    return *current;
}

void install_requesters(std::unique_ptr<Requesters> replacement) { installed() = std::move(replacement); }

}  // namespace quillet::ui
