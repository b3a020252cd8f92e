// ravelin-cli: the command-line front end; everything happens in RunCli.
#include <iostream>

#include "cli/CliMain.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  return ravelin::RunCli(argc, argv, std::cout, std::cerr);
}
