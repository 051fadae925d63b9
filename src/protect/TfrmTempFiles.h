#pragma once

#include "protect/ui/FileTypeListWindow.h"

namespace vastel {

// The temporary file types that the quick clean looks for ("TempFiles").
class TfrmTempFiles : public FileTypeListWindow {
    Q_OBJECT
  public:
    explicit TfrmTempFiles(QWidget* parent = nullptr);
};

}  // namespace vastel
