#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace velmor::project {

// A result file of the previous run (report, plot-data or monitor file), moved aside for the length of one
// engine call, so that only a file this call writes is taken for its result: put back when the call fails,
// is refused or writes nothing, deleted when the call's own file stands.
class TPreviousFile {
  public:
    // Moves the file at `Path`, when there is one, to `Path` + ".previous". A ".previous" already there was
    // left by a run that never ended: it is the only copy of the earlier results, so it first goes back in
    // place of the unfinished file that run left at `Path`.
    explicit TPreviousFile(std::string Path);
    // Puts the previous file back unless it was deleted.
    ~TPreviousFile();
    TPreviousFile(const TPreviousFile&) = delete;
    TPreviousFile& operator=(const TPreviousFile&) = delete;

    // Whether the call left a file of its own at the path.
    bool Written() const;
    // The call's file stands: the previous one is deleted.
    void DeletePrevious();
    // The previous file returns to its place; with no previous file, a file the call left there is removed.
    void PutBack();

  private:
    struct Stamp {
        bool exists = false;
        std::uintmax_t size = 0;
        std::filesystem::file_time_type written{};
        bool operator==(const Stamp& other) const {
            return exists == other.exists && size == other.size && written == other.written;
        }
    };
    static Stamp stampOf(const std::string& path);

    std::string path_, aside_;
    bool asideHeld_ = false;  // the previous file lies at aside_
    bool stuck_ = false;      // the previous file could not be moved: judged by its size and time instead
    Stamp before_;            // of a file that could not be moved
    bool settled_ = false;
};

}  // namespace velmor::project
