#include "acceptance/engine_runner.h"

#include "project/engine_client.h"
#include "project/file_names.h"
#include "support/test_support.h"

namespace velmor::test {

int runThroughLibrary(const std::string& projectPath, const std::string& name) {
    writeFile(name, readFile(projectPath));
    return project::RunEngineOnce(project::RunFileNames(name), VELMOR_ENGINE_LIBRARY);
}

std::string reportText(const std::string& name) {
    return readFile(project::ChangeFileExt(name, ".vm4o"));
}

std::string plotPath(const std::string& name) {
    return project::ChangeFileExt(name, ".vm4p");
}

}  // namespace velmor::test
