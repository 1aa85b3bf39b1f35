#pragma once

#include <string>

namespace velmor::project {

// What is wrong with a shared-library file that the system loader would fault on rather than refuse: a
// file that is no ELF shared object for this machine, or whose program headers or loadable segments reach
// past its end (a copy cut short maps pages beyond the end, and touching them kills the process). Empty
// when the file looks loadable, and for a file that does not exist (the loader reports that itself).
std::string LibraryFileFault(const std::string& Path);

}  // namespace velmor::project
