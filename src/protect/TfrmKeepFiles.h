#pragma once

#include "protect/ui/FileTypeListWindow.h"

namespace vastel {

// The protected file types of the Safe Harbor ("NoDelExt").
class TfrmKeepFiles : public FileTypeListWindow {
    Q_OBJECT
  public:
    explicit TfrmKeepFiles(QWidget* parent = nullptr);
};

}  // namespace vastel
