// The categories window (214): the categories with how many transactions use each, made, renamed,
// merged and deleted from the name typed below them; the payee rules in the order they are tried,
// added and deleted; and the rules applied to the transactions without a category. Each change is
// one undo step.
#pragma once

namespace quillet {

void open_categories_window();
void handle_categories_window(int kind);

}  // namespace quillet
