// Deleting the transaction of the current row: its record is flagged deleted (compaction removes
// it later); deleting the last remaining row deletes the whole register file.
#pragma once

namespace quillet {

void delete_transaction(int row);

}  // namespace quillet
