// A fresh temporary folder for one test, removed with everything in it when the test ends.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <string_view>

namespace quillet::testing {

class TempFolder {
  public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "quillet-test-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern + "/";
    }
    ~TempFolder() {
        std::error_code ignored;
        if (!path_.empty()) {
            // Give back write permission that a test took away, so that everything can go.
            for (const auto& entry : std::filesystem::recursive_directory_iterator(path_, ignored)) {
                std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                             std::filesystem::perm_options::add, ignored);
            }
            std::filesystem::remove_all(path_, ignored);
        }
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder, ending in "/".
    const std::string& path() const { return path_; }
    std::string file(std::string_view name) const { return path_ + std::string(name); }

    // Writes a file in the folder and returns its path.
    std::string write(std::string_view name, std::string_view bytes) const {
        const std::string target = file(name);
        write_bytes(target, bytes);
        return target;
    }
    static void write_bytes(const std::string& path, std::string_view bytes) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }

    // The names of the entries in the folder, sorted.
    std::string listing() const {
        std::string names;
        std::set<std::string> sorted;
        for (const auto& entry : std::filesystem::directory_iterator(path_)) {
            sorted.insert(entry.path().filename().string());
        }
        for (const auto& name : sorted) names += name + "\n";
        return names;
    }

  private:
    std::string path_;
};

// The whole contents of a file, or an empty text when it cannot be read.
inline std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace quillet::testing
