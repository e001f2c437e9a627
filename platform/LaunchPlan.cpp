#include "platform/LaunchPlan.h"

#include <unistd.h>

LaunchPlan NativeProgramPlan(const std::string& nativeProgram,
                             const std::vector<std::string>& arguments,
                             const std::string& workingFolder) {
    LaunchPlan plan;
    plan.workingFolder = workingFolder;
    if (access(nativeProgram.c_str(), X_OK) != 0) {
        plan.failure = "The program file is not executable.";
        return plan;
    }
    plan.command = {nativeProgram};
    plan.command.insert(plan.command.end(), arguments.begin(), arguments.end());
    return plan;
}
