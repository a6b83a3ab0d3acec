#include "app/exit_procedure.h"

#include "files/settings.h"

namespace quillet {

void run_exit_procedure() { save_settings_and_exit(); }

}  // namespace quillet
