// The register file requester: choosing a register to open, a name for a new one, or a new name
// for the open one.
#pragma once

#include <string>

namespace quillet {

inline constexpr int kOpenRegisterMode = 0;
inline constexpr int kNameNewRegisterMode = 1;
inline constexpr int kSaveRegisterAsMode = 2;

void run_register_requester(int mode);

// The chosen path with the register extension appended unless it already ends with it (in any
// letter case); empty for a path of fewer than five characters once trimmed.
std::string register_path_from_choice(const std::string& chosen);

}  // namespace quillet
