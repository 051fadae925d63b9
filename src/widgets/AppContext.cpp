#include "widgets/AppContext.h"

#include "platform/Dialogs.h"
#include "protect/SafeHarbor.h"
#include "removal/ArchiveFolder.h"

namespace vastel {

AppContext::~AppContext() = default;

SafeHarborCheck AppContext::safeHarborCheck() { return SafeHarborCheck::over(safeHarbor()); }

Dialogs& AppContext::dialogs() { return vastel::dialogs(); }

QByteArray AppContext::archiveFolder() const { return vastel::archiveFolder; }

}  // namespace vastel
