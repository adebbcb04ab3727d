#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <unistd.h>

// A scratch folder made current for the test, with the data-location variables saved and
// restored around it.
class TempDataTree {
public:
    TempDataTree() {
        root_ = std::filesystem::temp_directory_path() /
                ("veltmark-data-" + std::to_string(::getpid()) + "-" + std::to_string(counter_++));
        std::filesystem::remove_all(root_);
        std::filesystem::create_directories(root_ / "cwd");
        previousDirectory_ = std::filesystem::current_path();
        std::filesystem::current_path(root_ / "cwd");
        for (int i = 0; i < 3; ++i) {
            const char* value = std::getenv(names_[i]);
            saved_[i] = value ? std::optional<std::string>(value) : std::nullopt;
            ::unsetenv(names_[i]);
        }
    }
    ~TempDataTree() {
        for (int i = 0; i < 3; ++i) {
            if (saved_[i]) {
                ::setenv(names_[i], saved_[i]->c_str(), 1);
            } else {
                ::unsetenv(names_[i]);
            }
        }
        std::filesystem::current_path(previousDirectory_);
        std::filesystem::remove_all(root_);
    }

    std::filesystem::path path(const std::string& relative) const { return root_ / relative; }

    // Creates the file (and its folders) under the scratch folder and returns its full path.
    std::string touch(const std::string& relative, const std::string& content = "x") const {
        const auto full = root_ / relative;
        std::filesystem::create_directories(full.parent_path());
        std::ofstream(full) << content;
        return full.string();
    }

private:
    static inline int counter_ = 0;
    static constexpr const char* names_[3] = {"XDG_DATA_HOME", "HOME", "XDG_DATA_DIRS"};
    std::filesystem::path root_, previousDirectory_;
    std::optional<std::string> saved_[3];
};
