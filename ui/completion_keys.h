// The pop-up of an editable combo's matches takes the keyboard while it is open, so a dialog's
// access keys and shortcuts (Alt+Y to the payee, Ctrl+Tab) would go to the pop-up and be lost. This
// filter closes the pop-up on such a key and hands the key to the dialog, as if no pop-up had been
// open; letters, arrows, Return and Escape stay the pop-up's.
#pragma once

#include <QObject>

class QComboBox;

namespace quillet::ui::detail {

class CompletionKeys : public QObject {
  public:
    // Watches the combo's completer pop-up.
    explicit CompletionKeys(QComboBox* combo);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QComboBox* combo_;
};

}  // namespace quillet::ui::detail
