#include "project/previous_file.h"

#include <system_error>
#include <utility>

namespace velmor::project {

namespace fs = std::filesystem;

TPreviousFile::TPreviousFile(std::string Path) : path_(std::move(Path)), aside_(path_ + ".previous") {
    std::error_code error;
    if (fs::exists(aside_, error)) {
        fs::rename(aside_, path_, error);
        if (error) {
            // Still the only copy of the earlier results: it stays aside, taken for this run's previous file.
            asideHeld_ = true;
            return;
        }
    }
    if (!fs::exists(path_, error)) return;
    fs::rename(path_, aside_, error);
    asideHeld_ = !error;
    if (error) {
        stuck_ = true;
        before_ = stampOf(path_);
    }
}

TPreviousFile::~TPreviousFile() {
    if (!settled_) PutBack();
}

TPreviousFile::Stamp TPreviousFile::stampOf(const std::string& path) {
    Stamp stamp;
    std::error_code error;
    stamp.exists = fs::is_regular_file(path, error);
    if (!stamp.exists) return stamp;
    stamp.size = fs::file_size(path, error);
    stamp.written = fs::last_write_time(path, error);
    return stamp;
}

bool TPreviousFile::Written() const {
    const Stamp now = stampOf(path_);
    return now.exists && !(stuck_ && now == before_);
}

void TPreviousFile::DeletePrevious() {
    settled_ = true;
    std::error_code ignored;
    if (asideHeld_) fs::remove(aside_, ignored);
    asideHeld_ = false;
}

void TPreviousFile::PutBack() {
    settled_ = true;
    // A file that could not be moved aside is still in place, or was overwritten by the call: nothing to do.
    if (stuck_) return;
    std::error_code ignored;
    if (asideHeld_)
        fs::rename(aside_, path_, ignored);
    else
        fs::remove(path_, ignored);
    asideHeld_ = false;
}

}  // namespace velmor::project
