// Quillet's entry point. The program reads no command-line argument and always ends with code 0.
#include "ui/placeholder_window.h"

int main() {
    quillet::run_placeholder_window("Quillet", 924, 536);
    return 0;
}
