// What the operating system says about the running program and about folder permissions.
#pragma once

#include <string>

namespace ravelin {

/// The running executable's own full path (from /proc/self/exe); empty when it is unknown.
std::string ExecutablePath();
/// True when the current user may create files in folder (an existing folder that is
/// writable and searchable); false for a missing folder or a file.
bool FolderIsWritable(const std::string& folder);
/// The value of an environment variable, empty when it is unset.
std::string EnvironmentValue(const char* name);

}  // namespace ravelin
