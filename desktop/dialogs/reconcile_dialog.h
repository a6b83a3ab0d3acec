// Reconciling the register with a bank statement: the statement's day and ending balance, the
// transactions not yet reconciled up to that day with a tick box each (the cleared ones ticked),
// the cleared balance and the difference in exact cents as the user ticks, the difference's likely
// causes, and Finish once the difference is zero. Later keeps the ticks as cleared.
#pragma once

namespace quillet {

void open_reconcile_window();
void handle_reconcile_window(int kind);

}  // namespace quillet
