// A program starter that starts nothing: tests read back what the program asked to start or open.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "runtime/program_start.h"

namespace quillet::testing {

class RecordingStarter : public ProgramStarter {
  public:
    struct Start {
        std::vector<std::string> arguments;
        std::string folder;
    };
    int start(const std::vector<std::string>& arguments, const std::string& folder) override {
        starts.push_back({arguments, folder});
        return 1;
    }
    int open(const std::string& document) override {
        opened.push_back(document);
        return 1;
    }
    int open_address(const std::string& address) override {
        addresses.push_back(address);
        return 1;
    }

    std::vector<Start> starts;
    std::vector<std::string> opened;
    std::vector<std::string> addresses;
};

// Installs a recording starter for the rest of the test and returns it.
inline RecordingStarter& install_recording_starter() {
    auto starter = std::make_unique<RecordingStarter>();
    RecordingStarter& installed = *starter;
    install_program_starter(std::move(starter));
    return installed;
}

}  // namespace quillet::testing
