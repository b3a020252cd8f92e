#include "ui/VornFoldr.h"

#include "ui/FrmFoldr.h"
#include "ui/ModalResult.h"

namespace ravelin {

bool TVornselectFolderDialog::Execute() {
  TdlgSelectFolder form;
  form.setWindowTitle(QString::fromStdString(Caption));
  // There are no drive letters here: the drive box follows the folder by itself.
  if (!Directory.empty()) form.OpenFolder(Directory);
  bool confirmed = form.exec() == mrOk;
  if (confirmed) Directory = form.Directory();
  return confirmed;
}

}  // namespace ravelin
