// ravelin-cli count: the line count of Pascal source files.
#pragma once

#include "cli/CliMain.h"

namespace ravelin::cli {

/// The count command.
CliCommand CountCommand();

}  // namespace ravelin::cli
