#include "protect/TfrmKeepFiles.h"

#include "protect/FileTypeRows.h"

namespace vastel {

TfrmKeepFiles::TfrmKeepFiles(QWidget* parent)
    : FileTypeListWindow(
          parent,
          {"frmKeepFiles",
           QStringLiteral("Safe Harbor file extensions"),
           QStringLiteral("Safe Harbor File Extensions"),
           {QStringLiteral("Files with these extensions will not be deleted.   To select multiple "
                           "file extensions, press Shift or Ctrl while pressing the down arrow or "
                           "clicking the mouse.")}},
          kProtectedTypesSection, protectedTypesFirstUse(), protectedTypesDefaults()) {}

}  // namespace vastel
