// The options dialog (window 204): the seven on/off options, the list order, and the list's font and
// colours. The font and colour buttons store their choice at once, even if the dialog is then
// cancelled; OK stores the rest and applies every option.
#pragma once

namespace quillet {

void open_options_dialog();
void handle_options_dialog(int kind);

}  // namespace quillet
