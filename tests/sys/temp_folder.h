#pragma once
// A fresh folder under the temporary directory, removed with everything in it.

#include "sys/ids.h"

#include <windows.h>

#include <filesystem>

namespace tavrel::testing {

class TempFolder {
public:
    TempFolder() : path_(std::filesystem::temp_directory_path() / (L"tavrel-test-" + createId())) {
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

}  // namespace tavrel::testing
