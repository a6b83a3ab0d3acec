// A program starter that starts nothing: tests read back what the program asked to start or open.
#pragma once

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/runtime/program_start.h"

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
        return opens_succeed ? 1 : 0;
    }
    int open_address(const std::string& address) override {
        addresses.push_back(address);
        return opens_succeed ? 1 : 0;
    }
    bool has_default_program(const std::string&) override { return desktop_has_programs; }
    // A kept "process" runs until the test ends it.
    int open_kept(const std::string& document) override {
        kept.push_back(document);
        running_handles.insert(next_handle);
        return next_handle++;
    }
    bool running(int handle) override { return running_handles.count(handle) != 0; }
    void release(int handle) override { released.push_back(handle); }
    void end(int handle) { running_handles.erase(handle); }

    std::vector<Start> starts;
    std::vector<std::string> opened;
    std::vector<std::string> addresses;
    std::vector<std::string> kept;
    std::set<int> running_handles;
    std::vector<int> released;
    int next_handle = 1;
    bool opens_succeed = true;          // false: as on a machine with nothing to open files with
    bool desktop_has_programs = false;  // whether the desktop names a program for a file's type
};

// Installs a recording starter for the rest of the test and returns it.
inline RecordingStarter& install_recording_starter() {
    auto starter = std::make_unique<RecordingStarter>();
    RecordingStarter& installed = *starter;
    install_program_starter(std::move(starter));
    return installed;
}

}  // namespace quillet::testing
