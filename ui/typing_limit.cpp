#include "ui/typing_limit.h"

#include <algorithm>

namespace quillet::ui::detail {

TypingLimit::TypingLimit(QLineEdit* field, int limit)
    : QValidator(field), limit_(limit), before_(field->text()) {
    connect(field, &QLineEdit::textChanged, this, [this](const QString& text) { before_ = text; });
    field->setValidator(this);
}

QValidator::State TypingLimit::validate(QString& input, int& position) const {
    if (depth_ > 0 || input.size() <= limit_ || input.size() <= before_.size()) return Acceptable;
    // What the edit inserted lies between the parts it left as they were.
    const qsizetype shorter = std::min(input.size(), before_.size());
    qsizetype prefix = 0;
    while (prefix < shorter && input[prefix] == before_[prefix]) ++prefix;
    qsizetype suffix = 0;
    while (suffix < shorter - prefix &&
           input[input.size() - 1 - suffix] == before_[before_.size() - 1 - suffix]) {
        ++suffix;
    }
    const qsizetype inserted = input.size() - prefix - suffix;
    qsizetype room = std::clamp<qsizetype>(limit_ - prefix - suffix, 0, inserted);
    // Never half a character.
    if (room > 0 && input[prefix + room - 1].isHighSurrogate()) --room;
    if (room == 0) return Invalid;
    input = input.left(prefix + room) + input.right(suffix);
    position = static_cast<int>(prefix + room);
    return Acceptable;
}

}  // namespace quillet::ui::detail
