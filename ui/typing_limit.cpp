#include "ui/typing_limit.h"

#include <algorithm>

#include "ui/toolkit_internal.h"

namespace quillet::ui::detail {

namespace {

// The text with each character the program's code page lacks as "?"; the position follows.
void keep_to_code_page(QString& input, int& position) {
    QString kept;
    kept.reserve(input.size());
    int kept_position = position;
    for (qsizetype at = 0; at < input.size(); ++at) {
        const qsizetype length = input[at].isHighSurrogate() && at + 1 < input.size() ? 2 : 1;
        const QString character = input.mid(at, length);
        const bool fits = from_qt(character) != "?" || character == QStringLiteral("?");
        kept += fits ? character : QStringLiteral("?");
        if (!fits && length == 2 && at < position) --kept_position;
        at += length - 1;
    }
    input = kept;
    position = kept_position;
}

}  // namespace

TypingLimit::TypingLimit(QLineEdit* field, int limit, bool code_page)
    : QValidator(field), limit_(limit), code_page_(code_page), before_(field->text()) {
    connect(field, &QLineEdit::textChanged, this, [this](const QString& text) { before_ = text; });
    field->setValidator(this);
}

QValidator::State TypingLimit::validate(QString& input, int& position) const {
    if (depth_ > 0) return Acceptable;
    if (code_page_) keep_to_code_page(input, position);
    if (input.size() <= limit_ || input.size() <= before_.size()) return Acceptable;
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
