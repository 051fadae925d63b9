#include "protect/TfrmTempFiles.h"

#include "protect/FileTypeRows.h"

namespace vastel {

TfrmTempFiles::TfrmTempFiles(QWidget* parent)
    : FileTypeListWindow(
          parent,
          {"frmTempFiles",
           QStringLiteral("Temporary file extensions"),
           QStringLiteral("Temporary File Extensions"),
           {QStringLiteral("Some common temporary file extensions are .TMP, .TEMP, .$$$, .OLD and "
                           ".BAK.  It is your responsibility to ensure that you have selected the "
                           "proper extensions for file deletion."),
            QStringLiteral(".FTS files may deleted if you're really short of space.  They are "
                           "Windows help file searching add-ons.  They can be re-generated as "
                           "needed.")}},
          kTemporaryTypesSection, temporaryTypesFirstUse(), temporaryTypesDefaults()) {}

}  // namespace vastel
