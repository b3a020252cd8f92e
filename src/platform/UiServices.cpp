#include "platform/UiServices.h"

#include <exception>

namespace ravelin {
namespace {

// Stands in until a front end installs real services: no dialogs, no processes.
class SilentUiServices final : public UiServices {
 public:
  std::optional<std::vector<std::string>> OpenFiles(const OpenFileRequest&) override {
    return std::nullopt;
  }
  bool AskYesNo(const std::string&) override { return false; }
  void ShowError(const std::string&) override {}
  void SetBusyCursor(bool) override {}
  bool StartWatched(const std::string&, const std::vector<std::string>&, std::string& whyNot,
                    ProgramFailed) override {
    whyNot = "no desktop";
    return false;
  }
  void OpenUrl(const std::string&) override {}
  void ProcessEvents() override {}
};

SilentUiServices silentServices;
UiServices* currentServices = &silentServices;

}  // namespace

UiServices& Ui() {
  return *currentServices;
}

ScopedUiServices::ScopedUiServices(UiServices& services) : previous_(currentServices) {
  currentServices = &services;
}

ScopedUiServices::~ScopedUiServices() {
  currentServices = previous_;
}

bool RunGuarded(const std::function<void()>& action) {
  try {
    action();
    return true;
  } catch (const std::exception& e) {
    Ui().ShowError(e.what());
    return false;
  }
}

}  // namespace ravelin
