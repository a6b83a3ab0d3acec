// The transaction dialog (window 202): where a transaction is entered or changed.
#pragma once

#include <cstdint>
#include <string>

namespace quillet {

inline constexpr int kEditMode = 0;
inline constexpr int kNewMode = 1;

// Opens the dialog. Editing: number is the record to edit. New: number seeds the proposed
// transaction number (the record's own number is settled on save).
void open_transaction_dialog(int mode, std::int64_t number, const std::string& title);

// The dialog's events, from the dispatcher.
void handle_transaction_dialog(int kind);

// The transaction number proposed for a new transaction: number after its pad text; none from
// 10000 on.
std::string proposed_number(std::int64_t number);

}  // namespace quillet
