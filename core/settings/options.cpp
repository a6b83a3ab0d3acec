#include "core/settings/options.h"

namespace quillet {

Options::Options() {
    for (const OptionField& field : kOptionFields) {
        if (field.byte != nullptr) this->*field.byte = static_cast<std::uint8_t>(field.default_value);
        if (field.integer != nullptr) this->*field.integer = field.default_value;
    }
}

}  // namespace quillet
