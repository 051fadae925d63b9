#include "removal/ArchiveFolder.h"

#include "core/SettingsStore.h"
#include "platform/NativePath.h"
#include "platform/Paths.h"

namespace vastel {

QByteArray archiveFolder;

void getDefaultZipPath() {
    const SettingsStore store;
    archiveFolder = store.readBytes(QStringLiteral("ZipFile"), QStringLiteral("Path"),
                                    nativePath(homeFolder()));
}

}  // namespace vastel
