// The answers a modal dialog closes with, as QDialog::exec returns them.
#pragma once

namespace ravelin {

/// Modal results of the dialogs: the values their buttons close them with.
enum ModalResult : int {
  mrNone = 0,
  mrOk = 1,
  mrCancel = 2,
  mrRetry = 4,
  mrYes = 6,
  mrNo = 7,
};

}  // namespace ravelin
