#pragma once

#include <QAbstractFileIconProvider>
#include <QIcon>

namespace vastel {

// Icons for the folder tree by entry kind only. The default provider asks the MIME database,
// which reads the content of files without a known extension: slow on big folders, and it
// moves their access dates, which the finder of files by date reports.
class FolderIcons : public QAbstractFileIconProvider {
  public:
    QIcon icon(IconType type) const override;
    QIcon icon(const QFileInfo& info) const override;
    QString type(const QFileInfo& info) const override;

  private:
    // Made once: the style decodes its pictures anew for every icon it is asked for.
    mutable QIcon folder_, file_, drive_;
};

}  // namespace vastel
