#pragma once

#include "core/ResultColumns.h"
#include "finders/FieldTexts.h"

#include <QString>
#include <vector>

namespace vastel {

// The columns of the browser's grid over the records of one folder: Modified, Time, Access,
// Size, Filename, Type. Dates and times are the texts of fileDateText and fileTimeText of the
// packed stamps, the size that of thousandsText, the type the text found for the extension.
// Sort keys come from the values where they order like the texts: the size itself, each
// distinct date text read once, names of ASCII bytes keyed from their bytes.
class BrowseColumns : public ResultColumns {
  public:
    enum Column { Modified, Time, Access, Size, Filename, Type, Count };

    // typeTexts: by ResultRecord::type.
    explicit BrowseColumns(std::vector<QString> typeTexts = {});

    int count() const override { return Count; }
    QString text(const ResultRecord& record, int column) const override;

    NumberKeyOf numberKeyOf(int column) const override;
    WholeKeyOf wholeNumberKeyOf(int column) const override;
    DateKeyOf dateKeyOf(int column) const override;
    TextKeyOf textKeyOf(int column) const override;

    static QStringList headers();

  private:
    const QString& typeText(qint32 type) const;

    mutable StampTexts stamps_;  // remembers the texts of the stamps it has made
    std::vector<QString> typeTexts_;
};

}  // namespace vastel
