// ravelin-cli: the command-line front end; everything happens in RunCli.
#include <clocale>
#include <iostream>

#include "cli/CliMain.h"

int main(int argc, char** argv) {
  // Month names and the thousands separator of the reports follow the user's locale; every
  // other text routine works on bytes and does not depend on it.
  std::setlocale(LC_TIME, "");
  std::setlocale(LC_NUMERIC, "");
  std::ios::sync_with_stdio(false);
  return ravelin::RunCli(argc, argv, std::cout, std::cerr);
}
