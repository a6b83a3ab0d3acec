// Quillet's entry point. The program reads no command-line argument and always ends with code 0.
#include "desktop/app/startup.h"

int main() { return quillet::run_quillet(quillet::program_folder_of_this_process()); }
