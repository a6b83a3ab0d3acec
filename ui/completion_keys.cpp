#include "ui/completion_keys.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>

namespace quillet::ui::detail {

CompletionKeys::CompletionKeys(QComboBox* combo) : QObject(combo), combo_(combo) {
    combo->completer()->popup()->installEventFilter(this);
}

bool CompletionKeys::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool dialogs_key = (key->modifiers() & (Qt::AltModifier | Qt::ControlModifier)) != 0 ||
                             (key->key() >= Qt::Key_F1 && key->key() <= Qt::Key_F12);
    if (!dialogs_key) return QObject::eventFilter(watched, event);
    combo_->completer()->popup()->hide();
    // A key sent by the program (not by the window system) is first tried as a shortcut of the
    // window that now has the focus.
    QKeyEvent again(QEvent::KeyPress, key->key(), key->modifiers(), key->text(), key->isAutoRepeat(),
                    static_cast<quint16>(key->count()));
    QCoreApplication::sendEvent(combo_->lineEdit(), &again);
    return true;
}

}  // namespace quillet::ui::detail
