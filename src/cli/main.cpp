// ravelin-cli: the command-line front end; everything happens in RunCli.
#include <clocale>
#include <iostream>
#include <string>
#include <vector>

#include "cli/CliMain.h"
#include "platform/ProcessSetup.h"

int main(int argc, char** argv) {
  // Month names and the thousands separator of the reports follow the user's locale; every
  // other text routine works on bytes and does not depend on it.
  std::setlocale(LC_TIME, "");
  std::setlocale(LC_NUMERIC, "");
  std::ios::sync_with_stdio(false);
  ravelin::UseBinaryStandardStreams();
  std::vector<std::string> arguments = ravelin::ProgramArguments(argc, argv);
  std::vector<char*> pointers;
  for (std::string& argument : arguments) pointers.push_back(argument.data());
  pointers.push_back(nullptr);
  return ravelin::RunCli(static_cast<int>(arguments.size()), pointers.data(), std::cout, std::cerr);
}
